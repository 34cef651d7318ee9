// Replay driver for the fuzz harnesses in builds without libFuzzer: runs each
// file named on the command line (or every file in a named folder) through
// the harness, then a number of pseudo-random inputs derived from them, so
// every build exercises each harness once.
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace {

std::vector<uint8_t> readAll(const std::filesystem::path& p) {
  std::ifstream in(p, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void collect(const std::filesystem::path& p, std::vector<std::vector<uint8_t>>& seeds) {
  std::error_code ec;
  if (std::filesystem::is_directory(p, ec)) {
    for (const auto& e : std::filesystem::directory_iterator(p, ec))
      if (e.is_regular_file()) seeds.push_back(readAll(e.path()));
  } else if (std::filesystem::is_regular_file(p, ec)) {
    seeds.push_back(readAll(p));
  }
}

// Flips bytes, cuts and splices: enough to reach the error paths.
std::vector<uint8_t> mutate(const std::vector<uint8_t>& seed, std::mt19937& rng) {
  std::vector<uint8_t> out = seed;
  if (out.empty()) out.resize(1 + rng() % 64);
  int edits = 1 + static_cast<int>(rng() % 8);
  for (int i = 0; i < edits; ++i) {
    switch (rng() % 4) {
      case 0: out[rng() % out.size()] = static_cast<uint8_t>(rng()); break;
      case 1:
        out.resize(rng() % (out.size() + 1));
        if (out.empty()) out.push_back(0xFF);
        break;
      case 2: out[rng() % out.size()] = 0xFF; break;
      default: {
        size_t at = rng() % out.size();
        size_t n = std::min<size_t>(out.size() - at, 1 + rng() % 16);
        for (size_t k = 0; k < n; ++k) out[at + k] = static_cast<uint8_t>(rng() & 1 ? 0x00 : 0xFF);
      }
    }
  }
  return out;
}

}  // namespace

int main(int argc, char** argv) {
  long runs = 1000;
  std::vector<std::vector<uint8_t>> seeds;
  for (int i = 1; i < argc; ++i) {
    if (std::strncmp(argv[i], "--runs=", 7) == 0)
      runs = std::strtol(argv[i] + 7, nullptr, 10);
    else
      collect(argv[i], seeds);
  }
  if (seeds.empty()) seeds.emplace_back();
  for (const auto& s : seeds) LLVMFuzzerTestOneInput(s.data(), s.size());
  std::mt19937 rng(12345);
  for (long r = 0; r < runs; ++r) {
    auto input = mutate(seeds[static_cast<size_t>(r) % seeds.size()], rng);
    LLVMFuzzerTestOneInput(input.data(), input.size());
  }
  std::printf("%zu seeds, %ld mutated inputs: no fault\n", seeds.size(), runs);
  return 0;
}
