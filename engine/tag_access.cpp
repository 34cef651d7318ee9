// engineGetTag and engineGetGenreName over the tag fields the engine keeps
// for the open file.
#include "engine/tag_access.h"

#include <cstring>

#include "engine/engine_state.h"
#include "tags/id3v1.h"

namespace orva {
namespace {

// Cut to 30 bytes with trailing blanks removed, as a tag field is read.
template <size_t N, size_t M>
void copyField(char (&destination)[N], const char (&source)[M]) {
  static_assert(N > 30 && M >= 30);
  char field[30];
  std::memcpy(field, source, sizeof field);
  trimTagText(destination, field);
}

void copyName(char (&destination)[128], const char* name) {
  size_t n = 0;
  while (n < sizeof destination - 1 && name[n] != '\0') ++n;
  std::memcpy(destination, name, n);
}

}  // namespace

int32_t copyOpenFileTag(Id3v1Record& tag) {
  if (!gEngine.file.isOpen()) return ENGINE_ERR_NOT_OPEN;
  const Id3v1Record& open = gEngine.id3v1;
  tag = Id3v1Record{};
  copyField(tag.title, open.title);
  copyField(tag.artist, open.artist);
  copyField(tag.album, open.album);
  copyField(tag.comment, open.comment);
  std::memcpy(tag.year, open.year, sizeof tag.year);
  tag.year[sizeof tag.year - 1] = '\0';
  tag.genre = open.genre;
  copyName(tag.genreName, genreName(open.genre));
  return ENGINE_OK;
}

void refreshOpenFileTag(const uint8_t* tag128) { gEngine.hasId3v1 = parseId3v1(tag128, gEngine.id3v1); }

int32_t fillGenreName(Id3v1Record& tag) {
  const int32_t genre = tag.genre;
  tag = Id3v1Record{};
  tag.genre = genre;
  if (genre < 0 || genre > 255) return ENGINE_ERR_ARGUMENT;
  copyName(tag.genreName, GENRE_NAMES[genre]);
  return ENGINE_OK;
}

}  // namespace orva
