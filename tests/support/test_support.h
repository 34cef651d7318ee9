// Helpers shared by the test programs: where the fixtures are, and temporary
// folders that clean up after themselves.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace orva::test {

// /work/shared as the build sees it (a Z: path under Wine); empty when absent.
std::string sharedDir();
// The source tree (for the bundled samples).
std::string sourceDir();
// Joins with the platform's separator.
std::string joinPath(const std::string& dir, const std::string& name);

std::vector<uint8_t> readFileBytes(const std::string& path);
bool writeFileBytes(const std::string& path, const std::vector<uint8_t>& bytes);

// A fresh, empty folder under the system's temporary folder; removed with
// everything in it when the object goes.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::string& path() const { return path_; }
  std::string file(const std::string& name) const { return joinPath(path_, name); }

 private:
  std::string path_;
};

}  // namespace orva::test
