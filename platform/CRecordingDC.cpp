#include "platform/CRecordingDC.h"

std::string CRecordingDC::GetText() const {
  std::string out;
  for (const auto& line : m_calls) out += line + '\n';
  return out;
}
