// Win32 files through CreateFileA, with the sharing the engine and the tag
// code rely on: readers let others read, write and replace the file (the
// player may hold it while the tag code rewrites it), writers let others read.
#include <windows.h>

#include "platform/file.h"
#include "platform/file_faults.h"

namespace orva::platform {

namespace {

HANDLE handleOf(intptr_t h) { return reinterpret_cast<HANDLE>(h); }

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
  DWORD access = GENERIC_READ;
  // Readers also share delete: a tag edit replaces the file the player holds.
  DWORD share = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
  DWORD disposition = OPEN_EXISTING;
  if (mode == FileMode::ReadWrite) {
    access = GENERIC_READ | GENERIC_WRITE;
    share = FILE_SHARE_READ;
  } else if (mode == FileMode::CreateAlways) {
    access = GENERIC_READ | GENERIC_WRITE;
    share = FILE_SHARE_READ;
    disposition = CREATE_ALWAYS;
  }
  HANDLE h = CreateFileA(path, access, share, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  handle_ = reinterpret_cast<intptr_t>(h);
  return true;
}

void File::close() {
  if (handle_ != kInvalid) CloseHandle(handleOf(handle_));
  handle_ = kInvalid;
}

int64_t File::read(void* buffer, int64_t size) {
  if (!isOpen() || size < 0 || size > 0x7FFFFFFF || !faults::allowRead()) return -1;
  DWORD got = 0;
  if (!ReadFile(handleOf(handle_), buffer, static_cast<DWORD>(size), &got, nullptr)) return -1;
  return got;
}

int64_t File::write(const void* buffer, int64_t size) {
  if (!isOpen() || size < 0 || size > 0x7FFFFFFF) return -1;
  size = faults::writeAllowance(size);
  if (size < 0) return -1;
  DWORD put = 0;
  if (!WriteFile(handleOf(handle_), buffer, static_cast<DWORD>(size), &put, nullptr)) return -1;
  return put;
}

bool File::readAt(int64_t offset, void* buffer, int64_t size) { return seek(offset) && read(buffer, size) == size; }

bool File::seek(int64_t offset) {
  if (!isOpen() || offset < 0) return false;
  LARGE_INTEGER to;
  to.QuadPart = offset;
  return SetFilePointerEx(handleOf(handle_), to, nullptr, FILE_BEGIN) != 0;
}

int64_t File::tell() const {
  if (!isOpen()) return -1;
  LARGE_INTEGER zero{};
  LARGE_INTEGER at{};
  if (!SetFilePointerEx(handleOf(handle_), zero, &at, FILE_CURRENT)) return -1;
  return at.QuadPart;
}

int64_t File::size() const {
  LARGE_INTEGER s{};
  if (!isOpen() || !GetFileSizeEx(handleOf(handle_), &s)) return -1;
  return s.QuadPart;
}

bool File::truncateHere() { return isOpen() && SetEndOfFile(handleOf(handle_)) != 0; }

bool File::flush() { return isOpen() && FlushFileBuffers(handleOf(handle_)) != 0; }

bool fileExists(const char* path) {
  DWORD a = path ? GetFileAttributesA(path) : INVALID_FILE_ATTRIBUTES;
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool isDirectory(const char* path) {
  DWORD a = path ? GetFileAttributesA(path) : INVALID_FILE_ATTRIBUTES;
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool removeFile(const char* path) { return path != nullptr && DeleteFileA(path) != 0; }

bool replaceFile(const char* source, const char* target) {
  return source != nullptr && target != nullptr && faults::allowReplace() &&
         MoveFileExA(source, target, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

}  // namespace orva::platform
