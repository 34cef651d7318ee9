// Forwarded command lines; see forwarding.h.
#include "shell/rules/forwarding.h"

#include <cstring>
#include <limits>

namespace orva {

CopyData commandLinePayload(const char* commandLine) {
  if (commandLine == nullptr) return {kCommandLineTag, 0, nullptr};
  const size_t length = std::strlen(commandLine);
  if (length >= std::numeric_limits<uint32_t>::max()) return {kCommandLineTag, 0, nullptr};
  return {kCommandLineTag, static_cast<uint32_t>(length + 1), commandLine};
}

bool acceptForwardedText(const CopyData& payload, char* out, size_t outSize) {
  if (out == nullptr || outSize == 0) return false;
  out[0] = '\0';
  if (payload.tag != kCommandLineTag || payload.size == 0 || payload.data == nullptr) return false;
  // Only the `size` bytes the sender declared are ours to read.
  const void* end = std::memchr(payload.data, '\0', payload.size);
  if (end == nullptr) return false;
  const size_t length = static_cast<size_t>(static_cast<const char*>(end) - static_cast<const char*>(payload.data));
  if (length >= outSize) return false;
  std::memcpy(out, payload.data, length + 1);
  return true;
}

}  // namespace orva
