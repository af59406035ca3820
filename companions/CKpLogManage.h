#pragma once
// The process-wide log of the companion libraries: one line per item, written
// to standard error and, when the host has named a log file, appended to it.
//
// Thread-safe: items from several threads come out as whole lines, never
// interleaved, and the file can be changed while others log.
#include <mutex>

#include "platform/KpExport.h"
#include "platform/KpTypes.h"

class KP_API CKpLogManage {
 public:
  CKpLogManage() = default;
  CKpLogManage(const CKpLogManage&) = delete;
  CKpLogManage& operator=(const CKpLogManage&) = delete;

  // Writes "<local time> [<level>] <text>" as one line (line breaks inside
  // the text become spaces). Returns 1 when every target took the line, 0
  // when the log file could not be appended to (standard error still has it).
  int StoreItem(const CString& text, int level);

  // Names the file to append to; an empty path stops file logging.
  void SetLogFile(const CString& path);
  CString GetLogFile() const;

 private:
  mutable std::mutex m_mutex;
  CString m_strLogFile;
};

// The process's log manager (never null).
CKpLogManage* KpGetLogManageObj();
