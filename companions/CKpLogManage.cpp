#include "companions/CKpLogManage.h"

#include <cstdio>
#include <ctime>
#include <fstream>
#include <string>

namespace {

std::string Timestamp() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  // The reentrant form: std::localtime shares one buffer between threads.
  if (localtime_r(&now, &local) == nullptr) return "0000-00-00 00:00:00";
  char buf[32];
  std::strftime(buf, sizeof buf, "%Y-%m-%d %H:%M:%S", &local);
  return buf;
}

std::string FormatLine(const CString& text, int level) {
  std::string line = Timestamp() + " [" + std::to_string(level) + "] ";
  for (char c : text) line += (c == '\r' || c == '\n') ? ' ' : c;
  line += '\n';
  return line;
}

}  // namespace

int CKpLogManage::StoreItem(const CString& text, int level) {
  const std::string line = FormatLine(text, level);
  std::lock_guard<std::mutex> lock(m_mutex);
  std::fwrite(line.data(), 1, line.size(), stderr);
  std::fflush(stderr);
  if (m_strLogFile.empty()) return 1;
  std::ofstream file(m_strLogFile, std::ios::binary | std::ios::app);
  if (!file) return 0;
  file.write(line.data(), static_cast<std::streamsize>(line.size()));
  file.flush();
  return file ? 1 : 0;
}

void CKpLogManage::SetLogFile(const CString& path) {
  std::lock_guard<std::mutex> lock(m_mutex);
  m_strLogFile = path;
}

CString CKpLogManage::GetLogFile() const {
  std::lock_guard<std::mutex> lock(m_mutex);
  return m_strLogFile;
}

CKpLogManage* KpGetLogManageObj() {
  // Created on first use and never destroyed, so that logging from other
  // static destructors still finds it.
  static CKpLogManage* manager = new CKpLogManage();
  return manager;
}
