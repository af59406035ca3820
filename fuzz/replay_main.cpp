// Runs a fuzz target's entry point over saved inputs without libFuzzer, so
// that every build replays the seeds and the crashers as an ordinary test.
//
//   kp_replay_<target> PATH...
//
// A path is an input file or a folder of them (hidden files such as
// .gitkeep are skipped). Each input is named before it runs, so the last
// name printed is the one that crashed. An input that takes longer than
// kInputLimit fails the run: the targets must bound their work, whatever
// the input. The run fails too when the paths hold no input at all.
#include <algorithm>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

namespace fs = std::filesystem;

constexpr std::chrono::milliseconds kInputLimit{2000};

bool IsHidden(const fs::path& p) { return p.filename().string().rfind('.', 0) == 0; }

// The inputs a path names, in a stable order; false when it names nothing.
bool CollectInputs(const fs::path& path, std::vector<fs::path>& inputs) {
  std::error_code ec;
  if (fs::is_regular_file(path, ec)) {
    inputs.push_back(path);
    return true;
  }
  if (!fs::is_directory(path, ec)) return false;
  std::vector<fs::path> found;
  for (const fs::directory_entry& e : fs::directory_iterator(path, ec))
    if (e.is_regular_file(ec) && !IsHidden(e.path())) found.push_back(e.path());
  std::sort(found.begin(), found.end());
  inputs.insert(inputs.end(), found.begin(), found.end());
  return true;
}

bool ReadFile(const fs::path& path, std::vector<std::uint8_t>& bytes) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return !in.bad();
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<fs::path> inputs;
  for (int i = 1; i < argc; ++i) {
    if (!CollectInputs(argv[i], inputs)) {
      std::fprintf(stderr, "no such input or folder: %s\n", argv[i]);
      return 2;
    }
  }
  if (inputs.empty()) {
    std::fprintf(stderr, "no inputs to replay\n");
    return 2;
  }

  int slow = 0;
  for (const fs::path& path : inputs) {
    std::vector<std::uint8_t> bytes;
    if (!ReadFile(path, bytes)) {
      std::fprintf(stderr, "cannot read %s\n", path.c_str());
      return 2;
    }
    std::printf("%s ... ", path.c_str());
    std::fflush(stdout);
    const auto start = std::chrono::steady_clock::now();
    LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
    const auto ms =
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start);
    if (ms > kInputLimit) {
      ++slow;
      std::printf("TOO SLOW: %lld ms (limit %lld ms)\n", static_cast<long long>(ms.count()),
                  static_cast<long long>(kInputLimit.count()));
    } else {
      std::printf("ok, %lld ms\n", static_cast<long long>(ms.count()));
    }
  }
  std::printf("%zu inputs replayed, %d over the limit\n", inputs.size(), slow);
  return slow == 0 ? 0 : 1;
}
