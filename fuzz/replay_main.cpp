// Runs one fuzz target over saved inputs, without libFuzzer: the regression
// inputs and the corpus, as a ctest of the native g++ build with its sanitizers.
//   replay_<target> FOLDER_OR_FILE...
// A missing folder is skipped (a target without findings has no regressions
// folder); a broken property traps, which fails the test.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace {

namespace fs = std::filesystem;

void replay(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  const std::vector<char> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  // Copied to a buffer of exactly its size, so ASan sees a read past the end.
  std::vector<uint8_t> data(bytes.begin(), bytes.end());
  std::printf("%s (%zu bytes)\n", file.string().c_str(), data.size());
  std::fflush(stdout);
  LLVMFuzzerTestOneInput(data.data(), data.size());
}

}  // namespace

int main(int argc, char** argv) {
  size_t count = 0;
  for (int i = 1; i < argc; ++i) {
    const fs::path path(argv[i]);
    std::error_code error;
    if (fs::is_regular_file(path, error)) {
      replay(path);
      ++count;
      continue;
    }
    if (!fs::is_directory(path, error)) continue;
    std::vector<fs::path> files;
    for (const fs::directory_entry& entry : fs::directory_iterator(path)) {
      if (entry.is_regular_file()) files.push_back(entry.path());
    }
    std::sort(files.begin(), files.end());
    for (const fs::path& file : files) replay(file);
    count += files.size();
  }
  std::printf("%zu inputs replayed\n", count);
  return 0;
}
