// The open file's tags: one process-wide record, written by the engine's open
// and by the ID3v1 writer, read by the engine's tag queries.
#include "tags/open_file_tags.h"

#include <cstring>

namespace orva {
namespace {

OpenFileTags tags{};

}  // namespace

OpenFileTags& openFileTags() { return tags; }

void clearOpenFileTags() { std::memset(&tags, 0, sizeof tags); }

}  // namespace orva
