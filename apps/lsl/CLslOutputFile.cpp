#include "apps/lsl/CLslOutputFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "apps/lsl/CLslError.h"

CLslOutputFile::CLslOutputFile(const std::string& target) : m_target(target) {
  if (target.empty()) throw CLslError("the output file name is empty");
  struct stat st {};
  if (::stat(target.c_str(), &st) == 0 && S_ISDIR(st.st_mode))
    throw CLslError("cannot write " + target + ": it is a folder");
  // Beside the target, so that the final rename stays on one file system.
  for (int attempt = 0; attempt < 16; ++attempt) {
    m_temp = target + ".tmp-" + std::to_string(::getpid()) + "-" + std::to_string(attempt);
    const int fd = ::open(m_temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0) {
      ::close(fd);
      return;
    }
    if (errno != EEXIST) break;
  }
  const std::string reason = std::strerror(errno);
  m_temp.clear();
  throw CLslError("cannot write " + target + ": " + reason);
}

CLslOutputFile::~CLslOutputFile() {
  if (!m_committed && !m_temp.empty()) ::unlink(m_temp.c_str());
}

void CLslOutputFile::Fail(const std::string& what) const {
  throw CLslError("cannot write " + m_target + ": " + what);
}

void CLslOutputFile::WriteBytes(const unsigned char* data, size_t size) {
  std::FILE* f = std::fopen(m_temp.c_str(), "wb");
  if (f == nullptr) Fail(std::strerror(errno));
  const bool written = std::fwrite(data, 1, size, f) == size;
  const int savedErrno = errno;
  const bool closed = std::fclose(f) == 0;
  if (!written || !closed) Fail(std::strerror(written ? errno : savedErrno));
}

void CLslOutputFile::Commit() {
  if (std::rename(m_temp.c_str(), m_target.c_str()) != 0) Fail(std::strerror(errno));
  m_committed = true;
}
