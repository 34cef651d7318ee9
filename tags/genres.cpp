// The genre tables: the 148 names of the classic ID3v1 genre list (with the
// spellings our files have always used), five Japanese genres at 251..255,
// and empty names for everything between.
#include <cstdint>

#include "tags/id3v1.h"

// The names 0..147 in table order, shared by both tables.
// clang-format off
#define ORVA_GENRES_0_147 \
    "Blues", "Classic Rock", "Country", "Dance", "Disco", "Funk", "Grunge", "Hip-Hop", "Jazz", \
    "Metal", "New Age", "Oldies", "Other", "Pop", "R&B", "Rap", "Reggae", "Rock", "Techno", \
    "Industrial", "Alternative", "Ska", "Death Metal", "Pranks", "Soundtrack", "Euro-tecno", \
    "Ambient", "Trip-Hop", "Vocal", "Juzz+Funk", "Fusion", "Trance", "Classical", "Instrumental", \
    "Acid", "House", "Game", "Sound Clip", "Gospel", "Noise", "AlternRock", "Bass", "Soul", "Punk", \
    "Space", "Meditative", "Instrumental Pop", "Instrumental Rock", "Ethnic", "Gothic", "Darkwave", \
    "Techno-Industrial", "Electronic", "Pop-Folk", "Eurodance", "Dream", "Southern Rock", "Comedy", \
    "Cult", "Gangsta", "Top 40", "Christian Rap", "Pop/Funk", "Jungle", "Native American", \
    "Cabaret", "New Wave", "Psychadelic", "Rave", "Showtunes", "Trailer", "Lo-Fi", "Tribal", \
    "Acid Punk", "Acid Jazz", "Polka", "Retro", "Musical", "Rock & Roll", "Hard Rock", "Folk", \
    "Folk/Rock", "National Folk", "Swing", "Fast-Fusion", "Bedob", "Latin", "Revival", "Celtic", \
    "Bluegrass", "Avantagarde", "Gothic Rock", "Progressive Rock", "Psychadelic Rock", \
    "Symphonic Rock", "Slow Rock", "Big band", "Chorus", "Easy Listening", "Acoustic", "Humour", \
    "SpeechChanson", "Chanson", "Opera", "Chamber Music", "Sonata", "Symphony", "Booty Bass", \
    "Primus", "Porn Groove", "Satire", "Slow Jam", "Club", "Tango", "Samba", "Folklore", "Ballad", \
    "Power Ballad", "Rhytmic Soul", "Freestyle", "Duet", "Punk Rock", "Drum Solo", "Acapella", \
    "Euro-House", "Dance Hall", "Goa", "Dram & Bass", "Club-House", "Hardcore", "Terror", "Indie", \
    "BritPop", "Negerpunk", "Polsk Punk", "Beat", "Chiristian Gangsta Rap", "Heavy Metal", \
    "Black Metal", "Crossover", "Contemporary Christian", "Christian Rock", "Merengue", "Salsa", \
    "Thrash Metal", "Anime", "JPop", "Synthpop",

// clang-format on

namespace orva {

// 0..147 named, 148..250 unnamed, 251..255 the Japanese genres.
const char* const GENRE_NAMES[256] = {
    ORVA_GENRES_0_147 "",
    "",
    "",
    "",
    "",
    "",
    "",
    "",
    "",
    "",
    "",
    "",
    "",
    "",
    "",
    "",
    "",
    "",
    "",
    "",
    "",
    "",
    "",
    "",
    "",
    "",
    "",
    "",
    "",
    "",
    "",
    "",
    "",
    "",
    "",
    "",
    "",
    "",
    "",
    "",
    "",
    "",
    "",
    "",
    "",
    "",
    "",
    "",
    "",
    "",
    "",
    "",
    "",
    "",
    "",
    "",
    "",
    "",
    "",
    "",
    "",
    "",
    "",
    "",
    "",
    "",
    "",
    "",
    "",
    "",
    "",
    "",
    "",
    "",
    "",
    "",
    "",
    "",
    "",
    "",
    "",
    "",
    "",
    "",
    "",
    "",
    "",
    "",
    "",
    "",
    "",
    "",
    "",
    "",
    "",
    "",
    "",
    "",
    "",
    "",
    "",
    "",
    "",
    "Seiyu(J)",
    "Tecno Ambient(J)",
    "Moemoe(J)",
    "Tokusatsu(J)",
    "Anime(J)",
};

// The information dialog offers the named classic genres only.
const char* const DIALOG_GENRE_NAMES[148] = {ORVA_GENRES_0_147};

#undef ORVA_GENRES_0_147

const char* genreName(int32_t number) { return GENRE_NAMES[static_cast<uint32_t>(number) & 0xFFu]; }

}  // namespace orva
