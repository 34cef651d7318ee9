// POSIX files. Sharing modes have no equivalent and are not needed here: the
// outcomes callers rely on (missing file or directory fails to open, reads
// and writes at positions, truncation) are the same.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "platform/file.h"
#include "platform/file_faults.h"

namespace orva::platform {

namespace {

int fdOf(intptr_t handle) { return static_cast<int>(handle); }

int openFlags(FileMode mode) {
  switch (mode) {
    case FileMode::Read: return O_RDONLY;
    case FileMode::ReadWrite: return O_RDWR;
    case FileMode::CreateAlways: return O_RDWR | O_CREAT | O_TRUNC;
  }
  return O_RDONLY;
}

}  // namespace

File::~File() { close(); }

File::File(File&& other) noexcept : handle_(other.handle_) { other.handle_ = kInvalid; }

File& File::operator=(File&& other) noexcept {
  if (this != &other) {
    close();
    handle_ = other.handle_;
    other.handle_ = kInvalid;
  }
  return *this;
}

bool File::open(const char* path, FileMode mode) {
  close();
  if (path == nullptr || path[0] == '\0') return false;
  int fd = ::open(path, openFlags(mode) | O_CLOEXEC, 0666);
  if (fd < 0) return false;
  struct stat st {};
  if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    return false;
  }
  handle_ = fd;
  return true;
}

void File::close() {
  if (handle_ != kInvalid) ::close(fdOf(handle_));
  handle_ = kInvalid;
}

int64_t File::read(void* buffer, int64_t size) {
  if (!isOpen() || size < 0 || !faults::allowRead()) return -1;
  auto* out = static_cast<char*>(buffer);
  int64_t done = 0;
  while (done < size) {
    ssize_t n = ::read(fdOf(handle_), out + done, static_cast<size_t>(size - done));
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return -1;
    if (n == 0) break;
    done += n;
  }
  return done;
}

int64_t File::write(const void* buffer, int64_t size) {
  if (!isOpen() || size < 0) return -1;
  size = faults::writeAllowance(size);
  if (size < 0) return -1;
  const auto* in = static_cast<const char*>(buffer);
  int64_t done = 0;
  while (done < size) {
    ssize_t n = ::write(fdOf(handle_), in + done, static_cast<size_t>(size - done));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return done > 0 ? done : -1;
    done += n;
  }
  return done;
}

bool File::readAt(int64_t offset, void* buffer, int64_t size) { return seek(offset) && read(buffer, size) == size; }

bool File::seek(int64_t offset) {
  return isOpen() && offset >= 0 && ::lseek(fdOf(handle_), offset, SEEK_SET) == offset;
}

int64_t File::tell() const { return isOpen() ? static_cast<int64_t>(::lseek(fdOf(handle_), 0, SEEK_CUR)) : -1; }

int64_t File::size() const {
  struct stat st {};
  if (!isOpen() || fstat(fdOf(handle_), &st) != 0) return -1;
  return st.st_size;
}

bool File::truncateHere() {
  int64_t here = tell();
  return here >= 0 && ftruncate(fdOf(handle_), here) == 0;
}

bool File::flush() { return isOpen() && fsync(fdOf(handle_)) == 0; }

bool fileExists(const char* path) {
  struct stat st {};
  return path != nullptr && stat(path, &st) == 0 && S_ISREG(st.st_mode);
}

bool isDirectory(const char* path) {
  struct stat st {};
  return path != nullptr && stat(path, &st) == 0 && S_ISDIR(st.st_mode);
}

bool removeFile(const char* path) { return path != nullptr && ::unlink(path) == 0; }

bool replaceFile(const char* source, const char* target) {
  return source != nullptr && target != nullptr && faults::allowReplace() && std::rename(source, target) == 0;
}

}  // namespace orva::platform
