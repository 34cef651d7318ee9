// The temporary file is named after the target with a suffix, so it lies in
// the same folder (the replace must not cross volumes) without the path ever
// being split: cp932 names may hold 0x5C as a trail byte.
#include "tags/file_rewrite.h"

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstring>

namespace orva {
namespace {

// A name not yet taken: target + ".~orva" + a tick count and a counter.
bool rewriteMakeTempName(const char* target, char* out, size_t capacity) {
  static std::atomic<uint32_t> counter{0};
  auto ticks = static_cast<unsigned long long>(std::chrono::steady_clock::now().time_since_epoch().count());
  for (int attempt = 0; attempt < 16; ++attempt) {
    int n =
        std::snprintf(out, capacity, "%s.~orva%llx-%x.tmp", target, ticks, static_cast<unsigned>(counter.fetch_add(1)));
    if (n < 0 || static_cast<size_t>(n) >= capacity) return false;
    if (!platform::fileExists(out) && !platform::isDirectory(out)) return true;
  }
  return false;
}

}  // namespace

FileRewrite::~FileRewrite() { discard(); }

bool FileRewrite::start() {
  if (target_ == nullptr || !rewriteMakeTempName(target_, tempPath_, sizeof tempPath_)) return false;
  if (!out_.open(tempPath_, platform::FileMode::CreateAlways)) {
    platform::recordLastSystemError("creating the new file");
    tempPath_[0] = '\0';
    return false;
  }
  return true;
}

bool FileRewrite::write(const void* data, int64_t count) {
  if (!failed_ && !out_.isOpen() && !start()) failed_ = true;
  if (!failed_ && count > 0 && out_.write(data, count) != count) {
    platform::recordLastSystemError("writing the new file");
    failed_ = true;
  }
  return !failed_;
}

bool FileRewrite::commit() {
  if (!failed_ && !out_.isOpen() && !start()) failed_ = true;
  if (failed_) {
    discard();
    return false;
  }
  bool flushed = out_.flush();
  if (!flushed) platform::recordLastSystemError("writing the new file");
  out_.close();
  if (!flushed || !platform::replaceFile(tempPath_, target_)) {
    if (flushed) platform::recordLastSystemError("replacing the file");
    discard();
    return false;
  }
  tempPath_[0] = '\0';
  return true;
}

void FileRewrite::discard() {
  out_.close();
  if (tempPath_[0] != '\0') platform::removeFile(tempPath_);
  tempPath_[0] = '\0';
}

}  // namespace orva
