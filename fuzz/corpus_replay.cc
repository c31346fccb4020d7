// Replays a fuzz target's seed corpus without libFuzzer: feeds every file of
// the seed directory, in name order, to the target's LLVMFuzzerTestOneInput,
// as the fuzzer would. A target signals a fault by aborting (and the
// sanitizers by ending the process), so reaching the end means every seed
// passed. Linked with one fuzz target's source; run as
//
//   <replay binary> SEED_DIRECTORY

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <system_error>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s SEED_DIRECTORY\n", argv[0]);
    return 2;
  }
  std::error_code error;
  std::vector<std::filesystem::path> seeds;
  for (const auto& entry : std::filesystem::directory_iterator(argv[1], error)) {
    if (entry.is_regular_file()) {
      seeds.push_back(entry.path());
    }
  }
  if (error) {
    std::fprintf(stderr, "cannot list seed directory `%s': %s\n", argv[1], error.message().c_str());
    return 1;
  }
  // An empty corpus would pass without testing anything.
  if (seeds.empty()) {
    std::fprintf(stderr, "no seed files in `%s'\n", argv[1]);
    return 1;
  }
  std::sort(seeds.begin(), seeds.end());
  for (const auto& seed : seeds) {
    std::ifstream in(seed, std::ios::binary);
    std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                                    std::istreambuf_iterator<char>());
    if (!in.eof() && in.fail()) {
      std::fprintf(stderr, "cannot read seed `%s'\n", seed.c_str());
      return 1;
    }
    std::printf("%s (%zu bytes)\n", seed.filename().c_str(), bytes.size());
    std::fflush(stdout);
    // The seed in a block of its own exact size, so that the sanitizers see
    // any read past its end.
    std::vector<std::uint8_t> exact(bytes.begin(), bytes.end());
    LLVMFuzzerTestOneInput(exact.empty() ? nullptr : exact.data(), exact.size());
  }
  std::printf("%zu seeds replayed\n", seeds.size());
  return 0;
}
