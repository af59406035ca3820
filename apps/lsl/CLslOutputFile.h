#pragma once
// One output file of a command. Everything is written under a temporary name
// beside the target and renamed over it only by Commit, so a command that
// fails half-way leaves no file behind (and an older file of that name stays
// as it was). The temporary file is created at once: an unwritable target is
// reported before any work is done.
#include <string>

class CLslOutputFile {
 public:
  explicit CLslOutputFile(const std::string& target);
  CLslOutputFile(const CLslOutputFile&) = delete;
  CLslOutputFile& operator=(const CLslOutputFile&) = delete;
  // Removes the temporary file unless the output was committed.
  ~CLslOutputFile();

  const std::string& Target() const { return m_target; }
  // Where the content goes until Commit.
  const std::string& TempPath() const { return m_temp; }
  void WriteBytes(const unsigned char* data, size_t size);
  void Commit();

 private:
  [[noreturn]] void Fail(const std::string& what) const;

  std::string m_target;
  std::string m_temp;
  bool m_committed = false;
};
