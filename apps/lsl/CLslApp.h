#pragma once
// The tool's entry: picks the command, answers --help, and turns every
// failure into one line "lsl: <message>" on standard error and status 1.
#include <memory>
#include <string>
#include <vector>

class QGuiApplication;

class CLslApp {
 public:
  CLslApp(int argc, char** argv);
  ~CLslApp();
  int Run();

 private:
  int Dispatch(const std::string& command, const std::vector<std::string>& rest);
  // Text needs Qt's font database, which lives in a GUI application object;
  // no screen is needed (or used).
  void StartGui();
  static bool AsksForHelp(const std::vector<std::string>& words);

  int m_argc;
  char** m_argv;
  std::vector<std::string> m_words;
  std::unique_ptr<QGuiApplication> m_gui;
};
