// The .lsl file of a line-style library: the head (magic and version word),
// the library-level sections of each of the four versions, the entry points
// that read, write and merge whole libraries, and the safe save to disk.
//
// Readers never trust the stream: every record reader checks its counts
// against the bytes left, and every entry point reads into a fresh library
// that replaces this one's content only when the whole stream was read.
#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <memory>
#include <string>
#include <vector>

#include "format/KpSaveFileCalls.h"
#include "model/CKpLineStyleLib.h"
#include "module/KpStringTable.h"

namespace {

bool IsLibraryStream(const CKpByteArrayEx& stream) {
  if (stream.GetSize() < 8) return false;
  int pos = 0;
  return stream.GetLongAt(pos) == KP_LSL_MAGIC;
}

long VersionOf(const CKpByteArrayEx& stream) {
  int pos = 4;
  return stream.GetLongAt(pos);
}

// Reads a whole file into the stream; false when it cannot be opened or read.
bool ReadWholeFile(const CString& path, CKpByteArrayEx& stream) {
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (f == nullptr) return false;
  std::vector<unsigned char> bytes;
  unsigned char buffer[65536];
  size_t n = 0;
  while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) {
    bytes.insert(bytes.end(), buffer, buffer + n);
    if (bytes.size() > 0x7FFFFFFFu) break;  // beyond what a stream can address
  }
  const bool ok = !std::ferror(f) && bytes.size() <= 0x7FFFFFFFu;
  std::fclose(f);
  if (!ok) return false;
  stream.SetSize(0);
  stream.Add(bytes.data(), static_cast<int>(bytes.size()));
  return true;
}

}  // namespace

// --- heads ---

long CKpLineStyleLib::WriteHead(CKpByteArray& stream) {
  stream.WriteLong(KP_LSL_MAGIC);
  return stream.GetSize();
}

long CKpLineStyleLib::ReadHead(CKpByteArray& stream) {
  const long word = stream.ReadLong();
  if (stream.IsFailed() || word != KP_LSL_MAGIC) return -1;
  return stream.GetPos();
}

long CKpLineStyleLib::ReadHead(CKpByteArrayEx& stream, int& pos) {
  const long word = stream.GetLongAt(pos);
  if (stream.IsFailed() || word != KP_LSL_MAGIC) return -1;
  return 4;
}

// --- current-format writers ---

int CKpLineStyleLib::StoreEx(CKpByteArrayEx& stream) {
  CompactSymLib();  // a stored library never carries unused symbols
  stream.SetSize(0);
  stream.Add(KP_LSL_MAGIC);
  stream.Add(KP_LSL_VERSION_20031017);
  stream.Add(m_lReserved);
  m_pRootGroup->SortItem();
  m_pRootGroup->Store(stream);
  CKpByteArrayEx symbols;
  m_SymLib.StoreEx(symbols);
  stream.Add(symbols.GetSize());
  stream.Add(symbols.GetData(), static_cast<int>(symbols.GetSize()));
  stream.AddUnicode(m_strName);
  stream.Add(Count());
  for (const CKpLineStyleObj& style : m_Styles) style.StoreEx(stream);
  m_bModified = FALSE;
  return 1;
}

// Labelled 20010614 and written so that the readers of that version read it
// back: styles in form 2, no symbol library (that version has none).
int CKpLineStyleLib::StoreEx30(CKpByteArrayEx& stream) {
  stream.SetSize(0);
  stream.Add(KP_LSL_MAGIC);
  stream.Add(KP_LSL_VERSION_20010614);
  stream.Add(m_lReserved);
  m_pRootGroup->SortItem();
  m_pRootGroup->Store(stream);
  stream.AddUnicode(m_strName);
  stream.Add(Count());
  for (const CKpLineStyleObj& style : m_Styles) style.StoreEx20(stream);
  m_bModified = FALSE;
  return 1;
}

// --- readers ---

// Each style takes at least one byte, so a count larger than the bytes left
// fails at once, and nothing is reserved from it.
bool CKpLineStyleLib::ReadStyles(CKpByteArrayEx& stream, int& pos, long version) {
  const long count = stream.GetLongAt(pos);
  if (stream.IsFailed() || count < 0 || count > stream.GetSize() - pos) return false;
  for (long i = 0; i < count; ++i) {
    CKpLineStyleObj style;
    if (!style.LoadEx(stream, pos, version)) return false;
    m_Styles.push_back(style);
  }
  return true;
}

// The oldest files were written with the old stream class and are read
// through it; the caller's stream is emptied once its bytes are taken over.
bool CKpLineStyleLib::ReadOldBody(CKpByteArrayEx& stream) {
  CKpByteArray old;
  old.Write(stream.GetData(), static_cast<unsigned long>(stream.GetSize()));
  stream.SetSize(0);
  if (Load(old) < 0) return false;
  InitStyleGroup();
  return true;
}

bool CKpLineStyleLib::ReadBody(CKpByteArrayEx& stream, long version, bool upTo20010614) {
  if (version < KP_LSL_VERSION_20010228) return ReadOldBody(stream);
  int pos = 8;
  m_lReserved = stream.GetLongAt(pos);
  if (stream.IsFailed()) return false;
  switch (version) {
    case KP_LSL_VERSION_20010228:
      m_strName = stream.GetUnicodeStringAt(pos);
      if (stream.IsFailed() || !ReadStyles(stream, pos, version)) return false;
      InitStyleGroup();
      return true;
    case KP_LSL_VERSION_20010614:
      if (!m_pRootGroup->Load(stream, pos)) return false;
      m_strName = stream.GetUnicodeStringAt(pos);
      return !stream.IsFailed() && ReadStyles(stream, pos, version);
    case KP_LSL_VERSION_20031017: {
      if (upTo20010614 || !m_pRootGroup->Load(stream, pos)) return false;
      const long n = stream.GetLongAt(pos);
      if (stream.IsFailed() || n < 0 || n > stream.GetSize() - pos) return false;
      CKpByteArrayEx symbols;
      symbols.Add(stream.GetData() + pos, static_cast<int>(n));
      pos += static_cast<int>(n);
      if (!m_SymLib.LoadEx(symbols, 0)) return false;
      m_strName = stream.GetUnicodeStringAt(pos);
      return !stream.IsFailed() && ReadStyles(stream, pos, version);
    }
    default:
      return false;  // a version no reader knows
  }
}

int CKpLineStyleLib::LoadEx(CKpByteArrayEx& stream) {
  if (!IsLibraryStream(stream)) return 0;
  auto fresh = std::make_unique<CKpLineStyleLib>();
  if (!fresh->ReadBody(stream, VersionOf(stream), false)) return 0;
  TakeContentFrom(*fresh);
  m_bModified = FALSE;
  return 1;
}

int CKpLineStyleLib::LoadEx30(CKpByteArrayEx& stream) {
  if (!IsLibraryStream(stream)) return 0;
  auto fresh = std::make_unique<CKpLineStyleLib>();
  if (!fresh->ReadBody(stream, VersionOf(stream), true)) return 0;
  TakeContentFrom(*fresh);
  m_bModified = TRUE;  // this reader leaves the library marked as changed
  return 1;
}

// --- version 1.0 ---

long CKpLineStyleLib::Store(CKpByteArray& stream) {
  stream.SetSize(0);
  WriteHead(stream);
  stream.WriteLong(KP_LSL_VERSION_10);
  stream.WriteLong(m_lReserved);
  stream.WriteString(m_strName);
  stream.WriteLong(Count());
  for (const CKpLineStyleObj& style : m_Styles) style.Store(stream);
  m_bModified = FALSE;
  return stream.GetSize();
}

long CKpLineStyleLib::Load(CKpByteArray& stream) {
  if (stream.GetSize() < 8) return -1;
  stream.SeekToBegin();
  stream.ClearFailed();
  if (ReadHead(stream) < 0) return -1;
  if (stream.ReadLong() != KP_LSL_VERSION_10) {
    ReportMessage(kp::ModuleString(kp::KP_IDS_HOST_OLD_VERSION));
    return -2;
  }
  auto fresh = std::make_unique<CKpLineStyleLib>();
  const long end = fresh->ReadFrom10(stream);
  if (end < 0) return -1;
  TakeContentFrom(*fresh);
  m_bModified = FALSE;
  return end;
}

long CKpLineStyleLib::ReadFrom10(CKpByteArray& stream) {
  m_lReserved = stream.ReadLong();
  m_strName = stream.ReadString();
  const long count = stream.ReadLong();
  if (stream.IsFailed() || count < 0 || count > stream.GetSize() - stream.GetPos()) return -1;
  for (long i = 0; i < count; ++i) {
    CKpLineStyleObj style;
    if (style.Load(stream) < 0) return -1;
    m_Styles.push_back(style);
  }
  return stream.GetPos();
}

// --- merging ---

int CKpLineStyleLib::AppendEx(CKpByteArrayEx& stream, BOOL overwrite) { return Merge(stream, overwrite, false); }

int CKpLineStyleLib::AppendEx30(CKpByteArrayEx& stream, BOOL overwrite) { return Merge(stream, overwrite, true); }

int CKpLineStyleLib::Merge(CKpByteArrayEx& stream, BOOL overwrite, bool upTo20010614) {
  auto incoming = std::make_unique<CKpLineStyleLib>();
  if (!(upTo20010614 ? incoming->LoadEx30(stream) : incoming->LoadEx(stream))) return 0;

  // Symbols of the incoming library are renumbered past this library's.
  long delta = 0;
  CKpSymLib& theirs = incoming->GetSymLib();
  if (!upTo20010614 && theirs.GetSymbolCount() > 0) {
    const long last = m_SymLib.GetSymbolCount() > 0 ? m_SymLib.GetSymbolID(m_SymLib.GetSymbolCount() - 1) : 10;
    delta = last - theirs.GetSymbolID(0) + 1;
    if (delta < 0) delta = 0;
    for (long i = 0; i < theirs.GetSymbolCount(); ++i) {
      const long id = theirs.GetSymbolID(i);
      if (id < 0) continue;
      auto copy = std::make_unique<CKpSymbol>(*theirs.GetSymbol(static_cast<unsigned long>(id)));
      copy->m_nID = id + delta;
      if (AddSymbol(copy.get()) >= 0) copy.release();  // the library owns it now
    }
  }

  for (long i = 0; i < incoming->Count(); ++i) {
    CKpLineStyleObj style = incoming->GetStyleObj(i);
    if (delta > 0) style.MoveObjExtID(delta);
    const long at = FindID(style.GetID());
    if (at >= 0) {
      if (!overwrite) continue;
      // Replaced styles go to the end; the ID stays where it is filed.
      m_Styles.erase(m_Styles.begin() + at);
    }
    m_Styles.push_back(style);
  }
  m_pRootGroup->Append(incoming->GetRootGroup());
  m_bModified = upTo20010614 ? FALSE : TRUE;
  return 1;
}

// --- files ---

int CKpLineStyleLib::LoadFromFile(const CString& path) {
  CKpByteArrayEx stream;
  if (!ReadWholeFile(path, stream)) return 0;
  const int result = LoadEx(stream);
  if (result) m_bModified = TRUE;
  return result;
}

namespace {

ssize_t SystemWrite(int fd, const void* data, size_t size) { return ::write(fd, data, size); }
int SystemFsync(int fd) { return ::fsync(fd); }
int SystemClose(int fd) { return ::close(fd); }
int SystemRename(const char* from, const char* to) { return std::rename(from, to); }

constexpr kp::KpSaveFileCalls kSystemCalls{SystemWrite, SystemFsync, SystemClose, SystemRename};
kp::KpSaveFileCalls g_saveFileCalls = kSystemCalls;

// A temporary whose process is gone was left by a save that was killed. It is
// removed only once it is this old: a younger one may belong to a save still
// running on another machine that shares the folder, where process IDs of
// this machine say nothing.
constexpr time_t kStaleTemporaryAge = 60 * 60;

CString FolderOf(const CString& path) {
  const size_t slash = path.find_last_of('/');
  if (slash == CString::npos) return ".";
  return slash == 0 ? CString("/") : path.substr(0, slash);
}

CString FileNameOf(const CString& path) {
  const size_t slash = path.find_last_of('/');
  return slash == CString::npos ? path : path.substr(slash + 1);
}

// Saving through a symbolic link replaces the file it names; replacing the
// link itself would leave the file the user keeps elsewhere unchanged. A link
// that names nothing is replaced by the file.
CString SaveTargetOf(const CString& path) {
  struct stat st {};
  if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return path;
  char* real = ::realpath(path.c_str(), nullptr);
  if (real == nullptr) return path;
  const CString target = real;
  std::free(real);
  return target;
}

// A name for the temporary file beside `path` that no other save uses:
// "<file>.tmp-<process>-<count>-<attempt>".
CString TemporaryNameFor(const CString& path, int attempt) {
  static std::atomic<unsigned> counter{0};
  return path + ".tmp-" + std::to_string(::getpid()) + "-" + std::to_string(counter++) + "-" +
         std::to_string(attempt);
}

// The process that made `entry` as a temporary of `fileName`, or 0 when
// `entry` is not such a name.
pid_t TemporaryOwner(const CString& entry, const CString& fileName) {
  const CString prefix = fileName + ".tmp-";
  if (entry.size() <= prefix.size() || entry.compare(0, prefix.size(), prefix) != 0) return 0;
  const CString rest = entry.substr(prefix.size());
  int dashes = 0;
  size_t digits = 0;
  for (const char c : rest) {
    if (c >= '0' && c <= '9') {
      ++digits;
    } else if (c == '-' && digits > 0) {
      ++dashes;
      digits = 0;
    } else {
      return 0;
    }
  }
  const size_t pidDigits = rest.find('-');
  if (dashes != 2 || digits == 0 || pidDigits > 9) return 0;
  return static_cast<pid_t>(std::strtol(rest.substr(0, pidDigits).c_str(), nullptr, 10));
}

bool IsStaleTemporary(const CString& path, pid_t owner, time_t now) {
  if (owner <= 0 || owner == ::getpid()) return false;
  if (::kill(owner, 0) == 0 || errno != ESRCH) return false;  // its save may still be running
  struct stat st {};
  return ::lstat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && now - st.st_mtime >= kStaleTemporaryAge;
}

// Each save killed before it could clean up leaves a temporary as large as
// the library; without this they would pile up beside it for ever.
void RemoveStaleTemporaries(const CString& target) {
  const CString folder = FolderOf(target);
  const CString name = FileNameOf(target);
  DIR* dir = ::opendir(folder.c_str());
  if (dir == nullptr) return;
  const time_t now = std::time(nullptr);
  while (const dirent* entry = ::readdir(dir)) {
    const CString path = folder + "/" + entry->d_name;
    if (IsStaleTemporary(path, TemporaryOwner(entry->d_name, name), now)) ::unlink(path.c_str());
  }
  ::closedir(dir);
}

int CreateTemporary(const CString& target, CString& temp) {
  for (int attempt = 0; attempt < 16; ++attempt) {
    temp = TemporaryNameFor(target, attempt);
    int fd = -1;
    do {
      fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    } while (fd < 0 && errno == EINTR);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  return -1;
}

// The replacing file gets the permissions of the one it replaces.
void KeepMode(int fd, const CString& target) {
  struct stat st {};
  if (::stat(target.c_str(), &st) == 0) ::fchmod(fd, st.st_mode & 07777);
}

// Writes all of data, retrying short and interrupted writes. A write that
// takes nothing without an error would never finish and counts as one.
bool WriteAll(int fd, const unsigned char* data, size_t size) {
  while (size > 0) {
    const ssize_t n = g_saveFileCalls.write(fd, data, size);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    data += n;
    size -= static_cast<size_t>(n);
  }
  return true;
}

bool Sync(int fd) {
  for (;;) {
    if (g_saveFileCalls.fsync(fd) == 0) return true;
    if (errno != EINTR) return false;
  }
}

// The descriptor is gone even when close is interrupted, so that is not
// retried; the bytes were synced before, so it is no failure either. Other
// errors (a network share reporting a lost write) are.
bool Close(int fd) { return g_saveFileCalls.close(fd) == 0 || errno == EINTR; }

// The rename is on disk only once its folder is: a crash soon after a save
// reported as done could otherwise bring the old file back. File systems
// that cannot sync a folder say so with EINVAL and are taken as they are.
bool SyncFolder(const CString& folder) {
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return true;  // nothing more can be done from here
  const bool ok = Sync(fd) || errno == EINVAL || errno == ENOTSUP;
  ::close(fd);
  return ok;
}

}  // namespace

namespace kp {

KpSaveFileCalls& SaveFileCalls() { return g_saveFileCalls; }

void ResetSaveFileCalls() { g_saveFileCalls = kSystemCalls; }

}  // namespace kp

// Written beside the target and renamed over it, so that the old file stays
// whole until the new one is complete on disk; every failure removes the
// temporary and returns 0.
int CKpLineStyleLib::SaveToFile(const CString& path) {
  if (path.empty()) return 0;
  const BOOL wasModified = m_bModified;
  CKpByteArrayEx stream;
  StoreEx(stream);
  m_bModified = wasModified;

  const CString target = SaveTargetOf(path);
  RemoveStaleTemporaries(target);
  CString temp;
  const int fd = CreateTemporary(target, temp);
  if (fd < 0) return 0;
  KeepMode(fd, target);
  bool ok = WriteAll(fd, stream.GetData(), static_cast<size_t>(stream.GetSize())) && Sync(fd);
  ok = Close(fd) && ok;
  ok = ok && g_saveFileCalls.rename(temp.c_str(), target.c_str()) == 0;
  if (!ok) {
    ::unlink(temp.c_str());
    return 0;
  }
  return SyncFolder(FolderOf(target)) ? 1 : 0;
}
