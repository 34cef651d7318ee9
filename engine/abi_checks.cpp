// Pins the sizes and field order of the interface records: hosts written
// against the interface in other languages lay them out by hand.
#include <cstddef>

#include "orva_engine.h"

static_assert(sizeof(int32_t) == 4);

static_assert(sizeof(DecoderSettings) == 16);
static_assert(offsetof(DecoderSettings, inputBlock) == 0);
static_assert(offsetof(DecoderSettings, outputBlock) == 4);
static_assert(offsetof(DecoderSettings, inputSleep) == 8);
static_assert(offsetof(DecoderSettings, outputSleep) == 12);

static_assert(sizeof(StreamInfo) == 128 + 128 + 4 * 4);
static_assert(offsetof(StreamInfo, artist) == 128);
static_assert(offsetof(StreamInfo, channels) == 256);
static_assert(offsetof(StreamInfo, bitRate) == 260);
static_assert(offsetof(StreamInfo, sampleRate) == 264);
static_assert(offsetof(StreamInfo, durationSeconds) == 268);

static_assert(sizeof(FileInfo) == 14 * 4);
static_assert(offsetof(FileInfo, layer) == 4);
static_assert(offsetof(FileInfo, mode) == 16);
static_assert(offsetof(FileInfo, channels) == 32);
static_assert(offsetof(FileInfo, bitrate) == 36);
static_assert(offsetof(FileInfo, sampleRate) == 40);
static_assert(offsetof(FileInfo, fileSize) == 44);
static_assert(offsetof(FileInfo, frames) == 48);
static_assert(offsetof(FileInfo, seconds) == 52);

// Text fields of 128, 128, 128, 5 and 131 bytes (520), then the genre.
static_assert(offsetof(Id3v1Record, artist) == 128);
static_assert(offsetof(Id3v1Record, album) == 256);
static_assert(offsetof(Id3v1Record, year) == 384);
static_assert(offsetof(Id3v1Record, comment) == 389);
static_assert(offsetof(Id3v1Record, genre) == 520);
static_assert(offsetof(Id3v1Record, genreName) == 524);
static_assert(sizeof(Id3v1Record) == 652);
static_assert(offsetof(Id3v11Record, genre) == 520);
static_assert(offsetof(Id3v11Record, track) == 652);
static_assert(sizeof(Id3v11Record) == 656);

static_assert(sizeof(DecoderOptions) == 12);
static_assert(offsetof(DecoderOptions, outputFlags) == 4);
static_assert(offsetof(DecoderOptions, bandwidthLimitHz) == 8);

static_assert(ENGINE_ERR_ZERO_FIRST_BYTE == 23 && ENGINE_ERR_CUE_ON_NT == 33);
static_assert(ENGINE_DEVICE_DEFAULT == -1 && ENGINE_DEVICE_SILENT == -2);
