#pragma once
// The system calls through which a library file is saved. They sit behind
// pointers so that tests can make each step fail the way a disk or a network
// share does; nothing else replaces them.
#include <sys/types.h>

#include <cstddef>

namespace kp {

struct KpSaveFileCalls {
  ssize_t (*write)(int fd, const void* data, size_t size);
  int (*fsync)(int fd);  // of the temporary file first, then of its folder
  int (*close)(int fd);
  int (*rename)(const char* from, const char* to);
};

// The calls in use; the system's own unless a test has replaced them.
KpSaveFileCalls& SaveFileCalls();

// Restores the system's own calls.
void ResetSaveFileCalls();

}  // namespace kp
