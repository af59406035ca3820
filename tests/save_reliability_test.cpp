// Saving a library when the disk, the folder or the process gives out:
// whatever fails, SaveToFile returns 0, the file that was there stays byte
// for byte, and no temporary is left beside it.
#include <gtest/gtest.h>

#include <dirent.h>
#include <fcntl.h>
#include <grp.h>
#include <sched.h>
#include <signal.h>
#include <sys/mount.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "format/KpSaveFileCalls.h"
#include "model/CKpLineStyleLib.h"

namespace {

using Bytes = std::vector<unsigned char>;

// `count` styles of four sub-lines with long dash patterns: a few thousand
// make a file of megabytes. `variant` changes every style, so two variants
// never share their bytes.
CKpLineStyleLib Library(long count, int variant) {
  CKpLineStyleLib lib;
  lib.SetName("variant " + std::to_string(variant));
  for (long i = 0; i < count; ++i) {
    CKpLineStyleObj style;
    style.SetID(100 + i);
    style.SetName("style " + std::to_string(i) + "/" + std::to_string(variant));
    for (int k = 0; k < 4; ++k) {
      CKpLineStyleBase sub;
      for (int e = 0; e < 16; ++e) sub.Add(1 + (e + k + variant) % 9, static_cast<BYTE>(e % 2));
      sub.m_nWidth = static_cast<short>(1 + variant);
      style.AddStyleBase(sub);
    }
    lib.AddStyleObj(style);
  }
  return lib;
}

Bytes Content(const CKpLineStyleLib& lib) {
  CKpLineStyleLib copy(lib);  // storing compacts and sorts
  CKpByteArrayEx s;
  copy.StoreEx(s);
  return {s.GetData(), s.GetData() + s.GetSize()};
}

Bytes FileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary | std::ios::ate);
  Bytes bytes(in ? static_cast<size_t>(in.tellg()) : 0);
  in.seekg(0);
  in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  return bytes;
}

std::string NewFolder() {
  std::string pattern = ::testing::TempDir() + "kp-save-XXXXXX";
  return ::mkdtemp(pattern.data()) != nullptr ? pattern : std::string();
}

// Names in the folder of `path` that start like the temporaries of its saves.
std::vector<std::string> TemporariesOf(const std::string& path) {
  const std::filesystem::path p(path);
  const std::string prefix = p.filename().string() + ".tmp-";
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(p.parent_path())) {
    const std::string name = entry.path().filename().string();
    if (name.compare(0, prefix.size(), prefix) == 0) names.push_back(name);
  }
  return names;
}

int OpenDescriptors() {
  int n = 0;
  for (auto it = std::filesystem::directory_iterator("/proc/self/fd"); it != std::filesystem::directory_iterator(); ++it) ++n;
  return n;
}

// Empty when a save failed as it must: 0 returned, the old bytes in place,
// nothing left beside them.
std::string FailedSaveProblem(CKpLineStyleLib& lib, const std::string& path, const Bytes& old) {
  if (lib.SaveToFile(path) != 0) return "the save reported success";
  if (FileBytes(path) != old) return "the old file changed";
  const auto temps = TemporariesOf(path);
  return temps.empty() ? "" : "a temporary was left: " + temps.front();
}

// Runs `body` in a forked child (for limits and mounts that must not reach
// this process) and returns its report: "" passed, "skip: ..." skipped,
// anything else a failure.
std::string InChild(const std::function<std::string()>& body) {
  int fds[2];
  if (::pipe(fds) != 0) return "no pipe";
  const pid_t pid = ::fork();
  if (pid == 0) {
    ::close(fds[0]);
    const std::string report = body();
    const ssize_t written = ::write(fds[1], report.data(), report.size());
    ::_exit(written == static_cast<ssize_t>(report.size()) ? 0 : 1);
  }
  ::close(fds[1]);
  std::string report;
  char buffer[256];
  ssize_t n = 0;
  while ((n = ::read(fds[0], buffer, sizeof buffer)) > 0) report.append(buffer, static_cast<size_t>(n));
  ::close(fds[0]);
  int status = 0;
  ::waitpid(pid, &status, 0);
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return "the child ended with status " + std::to_string(status);
  return report;
}

// Mounts made after this stay in the calling (child) process.
bool PrivateMounts() {
  return ::unshare(CLONE_NEWNS) == 0 && ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0;
}

std::string MountSmallDisk(const std::string& folder) {
  if (!PrivateMounts() || ::mount("tmpfs", folder.c_str(), "tmpfs", 0, "size=128k") != 0)
    return "skip: cannot mount a small tmpfs here (" + std::string(std::strerror(errno)) + ")";
  return "";
}

std::string LimitFileSize(const std::string&) {
  ::signal(SIGXFSZ, SIG_IGN);  // so that write() fails with EFBIG instead of killing the process
  const rlimit limit{64 * 1024, 64 * 1024};
  return ::setrlimit(RLIMIT_FSIZE, &limit) == 0 ? "" : "setrlimit failed";
}

// Permissions do not stop a privileged process (tests often run as root):
// it first becomes an ordinary user who owns the folder.
std::string MakeFolderUnwritable(const std::string& folder) {
  const uid_t nobody = 65534;
  if (::geteuid() == 0 && (::chown(folder.c_str(), nobody, nobody) != 0 || ::setgroups(0, nullptr) != 0 ||
                           ::setgid(nobody) != 0 || ::setuid(nobody) != 0))
    return "skip: cannot give up root privileges (" + std::string(std::strerror(errno)) + ")";
  ::chmod(folder.c_str(), 0555);
  const std::string probe = folder + "/probe";
  const int fd = ::open(probe.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0644);
  if (fd < 0) return "";
  ::close(fd);
  return "skip: this process writes into folders of mode 0555";
}

std::string MountFolderReadOnly(const std::string& folder) {
  if (!PrivateMounts() || ::mount(folder.c_str(), folder.c_str(), nullptr, MS_BIND, nullptr) != 0 ||
      ::mount(nullptr, folder.c_str(), nullptr, MS_REMOUNT | MS_BIND | MS_RDONLY, nullptr) != 0)
    return "skip: cannot mount the folder read-only here (" + std::string(std::strerror(errno)) + ")";
  return "";
}

// A folder or process made to fail the next save: `beforeOldFile` prepares
// the folder the old file is saved into, `afterOldFile` then breaks it.
struct DiskFault {
  const char* label;
  std::string (*beforeOldFile)(const std::string& folder);
  std::string (*afterOldFile)(const std::string& folder);
};

class FailingDiskOrFolder : public ::testing::TestWithParam<DiskFault> {};

TEST_P(FailingDiskOrFolder, KeepsTheOldFile) {
  const DiskFault& fault = GetParam();
  const std::string folder = NewFolder();
  ASSERT_FALSE(folder.empty());
  const std::string report = InChild([&]() -> std::string {
    const std::string prepared = fault.beforeOldFile ? fault.beforeOldFile(folder) : "";
    if (!prepared.empty()) return prepared;
    const std::string path = folder + "/lib.lsl";
    CKpLineStyleLib small = Library(3, 0), big = Library(1000, 1);
    if (small.SaveToFile(path) != 1) return "the old file could not be saved";
    const std::string broken = fault.afterOldFile ? fault.afterOldFile(folder) : "";
    return broken.empty() ? FailedSaveProblem(big, path, Content(small)) : broken;
  });
  ::chmod(folder.c_str(), 0755);
  std::filesystem::remove_all(folder);
  if (report.rfind("skip:", 0) == 0) GTEST_SKIP() << report.substr(6);
  EXPECT_EQ(report, "");
}

INSTANTIATE_TEST_SUITE_P(
    SaveReliability, FailingDiskOrFolder,
    ::testing::Values(
        // No space left: a 128 KB tmpfs, a new file of 900 KB.
        DiskFault{"FullDisk", MountSmallDisk, nullptr},
        // write() fails with EFBIG past 64 KB.
        DiskFault{"FileSizeLimit", nullptr, LimitFileSize},
        // Folder of mode 0555, saved into by an ordinary user.
        DiskFault{"UnwritableFolder", nullptr, MakeFolderUnwritable},
        // The folder on a file system mounted read-only (EROFS).
        DiskFault{"ReadOnlyFileSystem", nullptr, MountFolderReadOnly}),
    [](const ::testing::TestParamInfo<DiskFault>& info) { return std::string(info.param.label); });

// Failures injected into each system call of a save, as disks and network
// shares produce them.
enum class Step { Write, Fsync, Close, Rename, Count };
struct Injection {
  Step step;
  int onCall;  // 1 = the first call of that step
  int error;   // errno to fail with; 0 = write() takes nothing and reports no error
};
Injection g_injection;
int g_calls[static_cast<int>(Step::Count)];

bool Hit(Step step) {
  const int call = ++g_calls[static_cast<int>(step)];
  return step == g_injection.step && call == g_injection.onCall;
}

ssize_t FaultyWrite(int fd, const void* data, size_t size) {
  if (Hit(Step::Write)) {
    errno = g_injection.error;
    return g_injection.error ? -1 : 0;
  }
  return ::write(fd, data, std::min<size_t>(size, 16 * 1024));  // always short
}

int FaultyFsync(int fd) {
  if (!Hit(Step::Fsync)) return ::fsync(fd);
  errno = g_injection.error;
  return -1;
}

int FaultyClose(int fd) {
  const int result = ::close(fd);  // released either way, as Linux does
  if (!Hit(Step::Close)) return result;
  errno = g_injection.error;
  return -1;
}

int FaultyRename(const char* from, const char* to) {
  if (!Hit(Step::Rename)) return std::rename(from, to);
  errno = g_injection.error;
  return -1;
}

TEST(SaveReliability, FailingSystemCallsKeepTheOldFile) {
  struct Row {
    const char* label;
    Injection injection;
    int result;
    bool newContent;  // what the file holds afterwards
  };
  const Row rows[] = {
      {"first write fails", {Step::Write, 1, EIO}, 0, false},
      {"disk fills up after some short writes", {Step::Write, 3, ENOSPC}, 0, false},
      {"a write is interrupted: retried", {Step::Write, 2, EINTR}, 1, true},
      {"a write takes nothing: no endless loop", {Step::Write, 2, 0}, 0, false},
      {"fsync of the file fails", {Step::Fsync, 1, EIO}, 0, false},
      {"fsync of the file is interrupted: retried", {Step::Fsync, 1, EINTR}, 1, true},
      {"close reports a lost write", {Step::Close, 1, EIO}, 0, false},
      {"close is interrupted after the sync: saved", {Step::Close, 1, EINTR}, 1, true},
      {"rename fails", {Step::Rename, 1, EXDEV}, 0, false},
      {"folder cannot be synced: the rename may not last", {Step::Fsync, 2, EIO}, 0, true},
      {"file system cannot sync folders", {Step::Fsync, 2, EINVAL}, 1, true},
  };
  const std::string folder = NewFolder();
  ASSERT_FALSE(folder.empty());
  const std::string path = folder + "/lib.lsl";
  const CKpLineStyleLib older = Library(3, 0), newer = Library(300, 1);
  const Bytes oldBytes = Content(older), newBytes = Content(newer);
  for (const Row& r : rows) {
    SCOPED_TRACE(r.label);
    CKpLineStyleLib old = older, lib = newer;
    ASSERT_EQ(old.SaveToFile(path), 1);
    const int descriptors = OpenDescriptors();
    g_injection = r.injection;
    std::fill(std::begin(g_calls), std::end(g_calls), 0);
    kp::SaveFileCalls() = {FaultyWrite, FaultyFsync, FaultyClose, FaultyRename};
    const int result = lib.SaveToFile(path);
    kp::ResetSaveFileCalls();
    EXPECT_EQ(result, r.result);
    EXPECT_TRUE(FileBytes(path) == (r.newContent ? newBytes : oldBytes));
    EXPECT_TRUE(TemporariesOf(path).empty());
    EXPECT_EQ(OpenDescriptors(), descriptors);
  }
  std::filesystem::remove_all(folder);
}

TEST(SaveReliability, TargetsThatCannotBeReplaced) {
  const std::string folder = NewFolder();
  ASSERT_FALSE(folder.empty());
  CKpLineStyleLib lib = Library(3, 0);

  // A folder full of files where the library should go: rename fails, the folder stays.
  const std::string dir = folder + "/dir.lsl";
  ::mkdir(dir.c_str(), 0755);
  std::ofstream(dir + "/inside") << "x";
  EXPECT_EQ(lib.SaveToFile(dir), 0);
  EXPECT_EQ(FileBytes(dir + "/inside"), Bytes{'x'});
  EXPECT_TRUE(TemporariesOf(dir).empty());

  // A path whose folder is a file.
  const std::string file = folder + "/plain";
  std::ofstream(file) << "y";
  EXPECT_EQ(lib.SaveToFile(file + "/lib.lsl"), 0);
  EXPECT_EQ(FileBytes(file), Bytes{'y'});
  EXPECT_EQ(lib.SaveToFile(""), 0);
  std::filesystem::remove_all(folder);
}

TEST(SaveReliability, SavingThroughALinkReplacesTheLinkedFile) {
  const std::string folder = NewFolder();
  ASSERT_FALSE(folder.empty());
  ::mkdir((folder + "/real").c_str(), 0755);
  const std::string real = folder + "/real/lib.lsl", link = folder + "/lib.lsl";
  CKpLineStyleLib old = Library(2, 0), lib = Library(3, 1);
  ASSERT_EQ(old.SaveToFile(real), 1);
  ::chmod(real.c_str(), 0640);
  ASSERT_EQ(::symlink("real/lib.lsl", link.c_str()), 0);

  ASSERT_EQ(lib.SaveToFile(link), 1);
  struct stat st {};
  ASSERT_EQ(::lstat(link.c_str(), &st), 0);
  EXPECT_TRUE(S_ISLNK(st.st_mode));
  EXPECT_EQ(FileBytes(real), Content(lib));
  ASSERT_EQ(::stat(real.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0640u);  // the replaced file's permissions
  EXPECT_TRUE(TemporariesOf(real).empty());
  EXPECT_TRUE(TemporariesOf(link).empty());
  std::filesystem::remove_all(folder);
}

pid_t DeadProcess() {
  const pid_t pid = ::fork();
  if (pid == 0) ::_exit(0);
  ::waitpid(pid, nullptr, 0);
  return pid;
}

void Backdate(const std::string& path, int seconds) {
  const timespec when[2] = {{::time(nullptr) - seconds, 0}, {::time(nullptr) - seconds, 0}};
  ::utimensat(AT_FDCWD, path.c_str(), when, 0);
}

TEST(SaveReliability, StaleTemporariesOfKilledSavesAreRemoved) {
  const std::string dead = std::to_string(DeadProcess());
  const std::string alive = std::to_string(::getppid());
  const std::string self = std::to_string(::getpid());
  struct Row {
    std::string name;
    int age;  // seconds
    bool removed;
  };
  const Row rows[] = {
      {"lib.lsl.tmp-" + dead + "-0-0", 7200, true},    // killed save, long ago
      {"lib.lsl.tmp-" + dead + "-1-0", 60, false},     // recent: may be a save on another machine
      {"lib.lsl.tmp-" + alive + "-0-0", 7200, false},  // its process still runs
      {"lib.lsl.tmp-" + self + "-999-0", 7200, false}, // this process's own
      {"other.lsl.tmp-" + dead + "-0-0", 7200, false}, // another library's
      {"lib.lsl.tmp-" + dead + "-0", 7200, false},     // not a name a save makes
      {"lib.lsl.tmp-" + dead + "-0-0x", 7200, false},
  };
  const std::string folder = NewFolder();
  ASSERT_FALSE(folder.empty());
  for (const Row& r : rows) {
    std::ofstream(folder + "/" + r.name) << "partial";
    Backdate(folder + "/" + r.name, r.age);
  }
  CKpLineStyleLib lib = Library(2, 0);
  ASSERT_EQ(lib.SaveToFile(folder + "/lib.lsl"), 1);
  EXPECT_EQ(FileBytes(folder + "/lib.lsl"), Content(lib));
  for (const Row& r : rows) EXPECT_EQ(!std::filesystem::exists(folder + "/" + r.name), r.removed) << r.name;
  std::filesystem::remove_all(folder);
}

// A child that saves the two libraries in turn for ever, `first` first,
// reporting each finished save with one byte ('+' saved, '-' failed).
[[noreturn]] void SaveForever(CKpLineStyleLib& first, CKpLineStyleLib& second, const std::string& path, int out) {
  ::prctl(PR_SET_PDEATHSIG, SIGKILL);
  for (unsigned i = 0;; ++i) {
    const char done = ((i % 2 == 0) ? first : second).SaveToFile(path) == 1 ? '+' : '-';
    if (::write(out, &done, 1) != 1) ::_exit(1);
  }
}

TEST(SaveReliability, SavesKilledAtRandomLeaveOldOrNewContent) {
  const std::string folder = NewFolder();
  ASSERT_FALSE(folder.empty());
  const std::string path = folder + "/big.lsl";
  CKpLineStyleLib a = Library(2500, 0), b = Library(2500, 1);
  const Bytes bytesA = Content(a), bytesB = Content(b);
  ASSERT_NE(bytesA, bytesB);
  ASSERT_GT(bytesA.size(), 2u << 20);
  for (CKpLineStyleLib* lib : {&b, &a}) {  // both contents load back as they were
    CKpLineStyleLib back;
    ASSERT_EQ(lib->SaveToFile(path), 1);
    ASSERT_EQ(back.LoadFromFile(path), 1);
    EXPECT_EQ(Content(back), Content(*lib));
  }
  // Kills fall anywhere in a child's first save and into its second: the delays are drawn
  // from the time one save takes here.
  const auto start = std::chrono::steady_clock::now();
  ASSERT_EQ(a.SaveToFile(path), 1);
  const auto saveTime = std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - start);
  const unsigned seed = std::random_device{}();
  std::mt19937 random(seed);
  std::uniform_int_distribution<long> delay(0, 3 * saveTime.count() / 2);

  const int kills = 200;
  int keptA = 0, keptB = 0, leftTemporaries = 0;
  bool onDiskA = true;
  std::vector<std::string> stale;
  for (int i = 0; i < kills; ++i) {
    SCOPED_TRACE("kill " + std::to_string(i) + ", seed " + std::to_string(seed));
    int fds[2];
    ASSERT_EQ(::pipe(fds), 0);
    const pid_t pid = ::fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
      ::close(fds[0]);
      SaveForever(onDiskA ? b : a, onDiskA ? a : b, path, fds[1]);  // each child first replaces what is there
    }
    ::close(fds[1]);
    std::this_thread::sleep_for(std::chrono::microseconds(delay(random)));
    ::kill(pid, SIGKILL);
    ::waitpid(pid, nullptr, 0);
    std::string reports;
    char buffer[256];
    ssize_t n = 0;
    while ((n = ::read(fds[0], buffer, sizeof buffer)) > 0) reports.append(buffer, static_cast<size_t>(n));
    ::close(fds[0]);
    EXPECT_EQ(reports.find('-'), std::string::npos) << "a save failed";

    const Bytes now = FileBytes(path);
    ASSERT_TRUE(now == bytesA || now == bytesB) << "the file holds " << now.size() << " bytes of neither content";
    onDiskA = now == bytesA;
    ++(onDiskA ? keptA : keptB);
    // A child that finished a save has removed what earlier kills left behind.
    if (!reports.empty()) {
      for (const std::string& name : stale) EXPECT_FALSE(std::filesystem::exists(folder + "/" + name)) << name;
      stale.clear();
    }
    for (const std::string& name : TemporariesOf(path)) {
      if (std::find(stale.begin(), stale.end(), name) != stale.end()) continue;
      Backdate(folder + "/" + name, 7200);  // as if killed long ago
      stale.push_back(name);
      ++leftTemporaries;
    }
  }
  EXPECT_EQ(b.SaveToFile(path), 1);
  EXPECT_TRUE(TemporariesOf(path).empty());
  std::cout << kills << " kills of saves of " << bytesA.size() << " bytes (one save " << saveTime.count()
            << " us, seed " << seed << "): " << keptA << " times content A, " << keptB << " times content B, "
            << leftTemporaries << " temporaries left by kills, removed by later saves\n";
  std::filesystem::remove_all(folder);
}

}  // namespace
