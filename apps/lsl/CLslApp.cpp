#include "apps/lsl/CLslApp.h"

#include <QGuiApplication>
#include <cstdio>
#include <new>

#include "apps/lsl/CLslConvertCommand.h"
#include "apps/lsl/CLslDrawCommand.h"
#include "apps/lsl/CLslDumpCommand.h"
#include "apps/lsl/CLslError.h"
#include "apps/lsl/CLslHelp.h"
#include "apps/lsl/CLslInfoCommand.h"
#include "apps/lsl/CLslSheetCommand.h"
#include "apps/lsl/CLslTraceCommand.h"

namespace {

// Qt's own warnings (fonts, painters) would break the one-line error rule;
// every failure that matters is reported by the tool itself.
void QuietQt(QtMsgType, const QMessageLogContext&, const QString&) {}

}  // namespace

CLslApp::CLslApp(int argc, char** argv) : m_argc(argc), m_argv(argv) {
  for (int i = 1; i < argc; ++i) m_words.emplace_back(argv[i]);
}

CLslApp::~CLslApp() = default;

bool CLslApp::AsksForHelp(const std::vector<std::string>& words) {
  for (const std::string& w : words)
    if (w == "--help" || w == "-h") return true;
  return false;
}

int CLslApp::Run() {
  try {
    if (m_words.empty()) throw CLslError("no command given (try 'lsl --help')");
    const std::string command = m_words.front();
    const std::vector<std::string> rest(m_words.begin() + 1, m_words.end());
    if (command == "--help" || command == "-h" || command == "help") {
      const char* text = rest.empty() ? CLslHelp::Overview() : CLslHelp::Command(rest.front());
      if (text == nullptr) throw CLslError("unknown command '" + rest.front() + "' (try 'lsl --help')");
      std::fputs(text, stdout);
      return 0;
    }
    return Dispatch(command, rest);
  } catch (const CLslError& e) {
    std::fprintf(stderr, "lsl: %s\n", e.what());
  } catch (const std::bad_alloc&) {
    std::fprintf(stderr, "lsl: out of memory\n");
  } catch (const std::exception& e) {
    std::fprintf(stderr, "lsl: %s\n", e.what());
  }
  return 1;
}

int CLslApp::Dispatch(const std::string& command, const std::vector<std::string>& rest) {
  const char* usage = CLslHelp::Command(command);
  if (usage == nullptr) throw CLslError("unknown command '" + command + "' (try 'lsl --help')");
  if (AsksForHelp(rest)) {
    std::fputs(usage, stdout);
    return 0;
  }
  if (command == "sheet" || command == "draw") StartGui();
  if (command == "sheet") return CLslSheetCommand::Run(rest);
  if (command == "draw") return CLslDrawCommand::Run(rest);
  if (command == "trace") return CLslTraceCommand::Run(rest);
  if (command == "info") return CLslInfoCommand::Run(rest);
  if (command == "dump") return CLslDumpCommand::Run(rest);
  if (command == "convert") return CLslConvertCommand::Run(rest);
  return CLslConvertCommand::RunNewDefault(rest);
}

void CLslApp::StartGui() {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  qInstallMessageHandler(QuietQt);
  m_gui = std::make_unique<QGuiApplication>(m_argc, m_argv);
}
