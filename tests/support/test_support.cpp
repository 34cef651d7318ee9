#include "tests/support/test_support.h"

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace orva::test {

namespace fs = std::filesystem;

std::string sharedDir() {
  std::error_code ec;
  return fs::is_directory(ORVA_SHARED_DIR, ec) ? std::string(ORVA_SHARED_DIR) : std::string();
}

std::string sourceDir() { return ORVA_SOURCE_DIR; }

std::string joinPath(const std::string& dir, const std::string& name) { return (fs::path(dir) / name).string(); }

std::vector<uint8_t> readFileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool writeFileBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(out);
}

TempDir::TempDir() {
  static std::atomic<int> counter{0};
  auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
  fs::path p =
      fs::temp_directory_path() / ("orva-test-" + std::to_string(stamp) + "-" + std::to_string(counter.fetch_add(1)));
  fs::create_directories(p);
  path_ = p.string();
}

TempDir::~TempDir() {
  std::error_code ec;
  fs::remove_all(path_, ec);
}

}  // namespace orva::test
