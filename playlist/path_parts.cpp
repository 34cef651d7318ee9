// Path scanning over the platform's code-page stepping; see path_parts.h.
#include "playlist/path_parts.h"

#include <cstring>

#include "platform/codepage.h"

namespace orva {

namespace {

bool isSeparator(char c) { return c == '\\' || c == '/' || c == ':'; }

// ASCII bytes never begin a multi-byte character in any code page we run
// under; stepping them here spares the code-page lookup on most bytes.
const char* step(const char* p) { return static_cast<unsigned char>(*p) < 0x80 ? p + 1 : platform::nextChar(p); }

char foldAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; }

bool equalNoCase(const char* a, const char* b) {
  for (; *a != '\0' && *b != '\0'; ++a, ++b) {
    if (foldAscii(*a) != foldAscii(*b)) return false;
  }
  return *a == *b;
}

}  // namespace

const char* fileNamePart(const char* path) {
  const char* name = path;
  for (const char* p = path; *p != '\0'; p = step(p)) {
    if (isSeparator(*p)) name = p + 1;
  }
  return name;
}

const char* extensionPart(const char* path) {
  const char* dot = path;
  for (const char* p = fileNamePart(path); *p != '\0'; p = step(p)) {
    if (*p == '.') dot = p;
  }
  return dot;
}

bool hasExtension(const char* path, const char* extension) {
  // A name without "." has no extension (a bare "xwav" is not a "wav" file).
  const char* dot = extensionPart(path);
  return *dot == '.' && equalNoCase(dot + 1, extension);
}

const char* lastCharacters(const char* path, size_t count) {
  // A ring of the starts of the last `count` characters seen.
  constexpr size_t kMaxCount = 8;
  if (count == 0) return path + std::strlen(path);
  if (count > kMaxCount) count = kMaxCount;
  const char* starts[kMaxCount];
  size_t seen = 0;
  for (const char* p = path; *p != '\0'; p = step(p)) starts[seen++ % count] = p;
  return seen < count ? path : starts[seen % count];
}

bool endsWithNoCase3(const char* path, const char* suffix3) {
  // A double-byte character among the last three is never equal to the
  // three ASCII letters, even when its trail byte spells one of them.
  const char* tail = lastCharacters(path, 3);
  return std::strlen(tail) == 3 && equalNoCase(tail, suffix3);
}

bool endsWithSeparator(const char* path) {
  const char* last = lastCharacters(path, 1);
  return *last == '\\' || *last == '/';
}

void removeTrailingSeparator(char* path) {
  if (endsWithSeparator(path)) path[lastCharacters(path, 1) - path] = '\0';
}

bool copyText(char* destination, size_t size, const char* source) {
  if (size == 0) return false;
  size_t used = 0;
  const char* p = source;
  while (*p != '\0') {
    const char* next = step(p);
    auto width = static_cast<size_t>(next - p);
    if (size - 1 - used < width) break;
    std::memcpy(destination + used, p, width);
    used += width;
    p = next;
  }
  destination[used] = '\0';
  return *p == '\0';
}

void directoryPart(const char* path, char* out, size_t size) {
  if (size == 0) return;
  auto length = static_cast<size_t>(fileNamePart(path) - path);
  if (length >= size) length = size - 1;  // a directory cut short names nothing
  std::memcpy(out, path, length);
  out[length] = '\0';
}

}  // namespace orva
