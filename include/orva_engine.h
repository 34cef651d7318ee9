/*
 * The Orva playback engine: one process-wide engine driven through flat
 * entry points. Every function takes integers, pointers to caller-owned
 * records and NUL-terminated cp932 path names, and returns an integer.
 * Failure shows twice: in the result (0, or -1 where noted) and in the
 * status code, which the failing call sets and nothing clears.
 * All calls come from one thread (the host's window thread).
 */
#ifndef ORVA_ENGINE_H
#define ORVA_ENGINE_H

#include <stdint.h>

#if defined(_WIN32)
#if defined(ORVA_ENGINE_BUILDING_DLL)
#define ORVA_API __declspec(dllexport)
#else
#define ORVA_API
#endif
#else
#define ORVA_API __attribute__((visibility("default")))
#endif

/* The entry points never throw. */
#ifdef __cplusplus
#define ORVA_NOEXCEPT noexcept
#else
#define ORVA_NOEXCEPT
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* Engine state, as engineGetState returns it. */
enum EngineState { ENGINE_STOPPED = 0, ENGINE_PLAYING = 1, ENGINE_PAUSED = 2 };

/* Status codes (engineGetStatus). */
enum EngineStatus {
  ENGINE_OK = 0,                   /* nothing has failed yet */
  ENGINE_ERR_OPEN = 1,             /* empty path, or the file cannot be opened or created */
  ENGINE_ERR_NOT_OPEN = 2,         /* no file is open */
  ENGINE_ERR_READ = 3,             /* a read failed or returned fewer bytes than needed */
  ENGINE_ERR_WRITE = 4,            /* a write failed or was short; or no tag to overwrite */
  ENGINE_ERR_WAVE_CREATE = 5,      /* WAV output cannot be created; encoder source cannot be opened */
  ENGINE_ERR_NOT_WAVE = 6,         /* the encoder source is not a RIFF WAVE file */
  ENGINE_ERR_ENCODER_BUSY = 7,     /* encoder source or destination already open, or no source */
  ENGINE_ERR_LYRICS_OPEN = 8,      /* the lyrics text file cannot be opened */
  ENGINE_ERR_NO_LYRIC = 9,         /* no lyrics entry for the time asked */
  ENGINE_ERR_NO_SYNC = 10,         /* no frame sync in the first 10240 bytes of audio */
  ENGINE_ERR_BAD_HEADER = 11,      /* the first frame header does not parse */
  ENGINE_ERR_NOT_PLAYING = 12,     /* stop or restart while nothing plays */
  ENGINE_ERR_BUSY = 13,            /* not allowed unless the engine is stopped */
  ENGINE_ERR_NOT_PAUSABLE = 14,    /* pause while stopped or already paused */
  ENGINE_ERR_NO_CONVERSION = 15,   /* encoder abort with no conversion running */
  ENGINE_ERR_START_TIMEOUT = 16,   /* the playback thread did not start in time */
  ENGINE_ERR_STOP_TIMEOUT = 17,    /* the playback thread did not stop in time */
  ENGINE_ERR_ARGUMENT = 18,        /* an argument out of range; or the stream's first read was empty */
  ENGINE_ERR_MEMORY = 19,          /* out of memory */
  ENGINE_ERR_RIFF_KIND = 20,       /* RIFF where plain MPEG is required, or the reverse */
  ENGINE_ERR_ALREADY_RIFF = 21,    /* conversion with INFO chunks on a file already RIFF */
  ENGINE_ERR_ZERO_FIRST_BYTE = 23, /* conversion of a file whose first byte is 0 */
  ENGINE_ERR_RIFF_WALK = 24,       /* the RIFF chunk walk failed */
  ENGINE_ERR_DEVICE_OPEN = 25,     /* opening the wave output device failed */
  ENGINE_ERR_DECODER_START = 26,   /* the decoder failed to start on the first frame */
  ENGINE_ERR_THREAD_CREATE = 27,   /* creating the playback thread failed */
  ENGINE_ERR_ENCODER_THREAD = 28,  /* creating the conversion thread failed */
  ENGINE_ERR_EVENT_CREATE = 29,    /* creating the event for a posted message failed */
  ENGINE_ERR_NO_CODEC = 30,        /* the MPEG Layer-3 codec driver is not installed */
  ENGINE_ERR_NO_CODEC_FORMAT = 31, /* the codec lists no MPEG Layer-3 format */
  ENGINE_ERR_CONVERSION_OPEN = 32, /* opening the conversion stream failed */
  ENGINE_ERR_CUE_ON_NT = 33        /* cue mode is refused on Windows NT */
};

typedef struct DecoderSettings {
  int32_t inputBlock;  /* input buffer size in frames of maximum length (default 30) */
  int32_t outputBlock; /* decoded frames per output block (default 20) */
  int32_t inputSleep;  /* ms slept after each input refill (default 5) */
  int32_t outputSleep; /* ms slept after every fourth output block (default 0) */
} DecoderSettings;

typedef struct StreamInfo {
  char title[128];
  char artist[128];
  int32_t channels;
  int32_t bitRate; /* kbit/s of the first frame, 0 with a VBR header; bits per sample for PCM */
  int32_t sampleRate;
  int32_t durationSeconds;
} StreamInfo;

typedef struct FileInfo {
  int32_t version; /* 1 MPEG-1, 2 MPEG-2, 3 MPEG-2.5 */
  int32_t layer;
  int32_t noCrc;
  int32_t privateBit;
  int32_t mode; /* 0 stereo, 1 joint stereo, 2 dual channel, 3 mono */
  int32_t copyright;
  int32_t original;
  int32_t emphasis;
  int32_t channels;
  int32_t bitrate; /* kbit/s, 0 with a VBR header */
  int32_t sampleRate;
  int32_t fileSize;
  int32_t frames;
  int32_t seconds;
} FileInfo;

typedef struct Id3v1Record {
  char title[128];
  char artist[128];
  char album[128];
  char year[5];
  char comment[131];
  int32_t genre;
  char genreName[128];
} Id3v1Record;

/* The ID3v1.1 form: the same with the track number (-1 when there is none). */
typedef struct Id3v11Record {
  char title[128];
  char artist[128];
  char album[128];
  char year[5];
  char comment[131];
  int32_t genre;
  char genreName[128];
  int32_t track;
} Id3v11Record;

typedef struct DecoderOptions {
  int32_t downsampleShift;  /* 0 full, 1 half, 2 quarter rate */
  int32_t outputFlags;      /* bits 0-1 channel mode; 8: 8-bit samples */
  int32_t bandwidthLimitHz; /* only subbands below this frequency are decoded */
} DecoderOptions;

/* Lifecycle and settings. engineShutdown stops playback and frees the
   engine's buffers. A host may also leave without it: on Linux a running
   playback is stopped when the process exits or the library is unloaded
   (each wait bounded); on Windows the system has already ended the playback
   thread when the library's exit code runs under the loader lock, so the
   engine waits for nothing there and keeps its records for the thread.
   On Windows, call engineShutdown before FreeLibrary while playing. */
ORVA_API int32_t engineInit(void) ORVA_NOEXCEPT;
ORVA_API int32_t engineShutdown(void) ORVA_NOEXCEPT;
ORVA_API int32_t engineSetSettings(const DecoderSettings* settings) ORVA_NOEXCEPT;
ORVA_API DecoderSettings* engineGetSettings(DecoderSettings* settings) ORVA_NOEXCEPT;
ORVA_API int32_t engineGetVersion(void) ORVA_NOEXCEPT;
ORVA_API int32_t engineGetStatus(void) ORVA_NOEXCEPT;
ORVA_API int32_t engineGetDetailCode(void) ORVA_NOEXCEPT;
/* The operating system's reason for the last failure that reached the system
   while playback started (opening the sound device, creating a thread or the
   WAV file), as one sentence in the system's text encoding, for example
   "waveOutOpen failed: ... (MMRESULT 32).", and for a file the tag library
   could not open, write or replace. Every start of playback and every write
   of a file by the tag library forgets the reason before it, so after a
   failure it explains that failure.
   Writes at most size bytes including the NUL, cut between characters, and
   returns the bytes written before the NUL: 0 when there is no reason
   (buffer ""), -1 with status 18 when buffer is null or size is below 1. */
ORVA_API int32_t engineGetSystemErrorText(char* buffer, int32_t size) ORVA_NOEXCEPT;
/* One English sentence for a status code, for a host's messages (a code that
   does not exist gets a sentence saying so). Never null; the text is the
   library's and lives as long as it is loaded. */
ORVA_API const char* engineGetStatusText(int32_t status) ORVA_NOEXCEPT;

/* The open stream. */
ORVA_API int32_t engineOpen(const char* path, StreamInfo* info) ORVA_NOEXCEPT;
ORVA_API int32_t engineClose(void) ORVA_NOEXCEPT;
ORVA_API int32_t engineGetHeaderInfo(FileInfo* info) ORVA_NOEXCEPT;
ORVA_API int32_t engineGetNominalDuration(void) ORVA_NOEXCEPT;
ORVA_API int32_t engineGetTotalSamples(void) ORVA_NOEXCEPT;
ORVA_API int32_t engineGetBitRate(void) ORVA_NOEXCEPT;
ORVA_API int32_t engineGetTag(Id3v1Record* tag) ORVA_NOEXCEPT;
ORVA_API int32_t engineGetGenreName(Id3v1Record* tag) ORVA_NOEXCEPT;
ORVA_API int32_t engineCountLeadingEmptyFrames(const char* path) ORVA_NOEXCEPT;

/* Decoder options and positions. */
ORVA_API int32_t engineSetDecoderOptions(const DecoderOptions* options) ORVA_NOEXCEPT;
ORVA_API int32_t engineGetDecoderOptions(DecoderOptions* options) ORVA_NOEXCEPT;
/* Every output variant of the decoder, beyond the two engineSetDecoderOptions
   takes: bits 0-1 the channel mode (0 as the stream, 1 down-mix, 2 left only,
   3 right only), 8 for 8-bit unsigned samples. Status 13 unless stopped, 18
   for other bits. The other options stay as they are. */
ORVA_API int32_t engineSetDecoderOutputFlags(int32_t flags) ORVA_NOEXCEPT;
ORVA_API int32_t engineSetClampPosition(int32_t clamp) ORVA_NOEXCEPT;
/* Gapless playback, off by default. On (any non-zero value), a Layer III
   stream whose first frame holds a "Xing" or "Info" header with the
   encoder's delay and padding plays, and decodes to a WAV file, only the
   encoded source: the encoder's and the decoder's delay at the start and the
   encoder's padding at the end are left out, so the output has the source's
   sample count. Durations, engineGetTotalSamples, positions and seek targets
   then count source samples (position 0 is the source's first sample).
   Other streams are not affected. Applies to the open file at once and to
   every later open; status 13 unless stopped. engineInit switches it off.
   engineGetGapless returns the switch (0 or 1). */
ORVA_API int32_t engineSetGapless(int32_t on) ORVA_NOEXCEPT;
ORVA_API int32_t engineGetGapless(void) ORVA_NOEXCEPT;

/* The analyser: what the device plays now. engineSetAnalyserMode picks the
   spectrum's window: 0 rectangular, 2 Hamming, 3 Blackman, anything else 1
   (Hann, the initial mode); it returns its argument. engineGetSpectrum
   fills 256 levels per channel in decibels (20 log10 of the band's
   magnitude over sqrt(512), truncated; -100 for a silent band and never
   lower; a full-scale sine through the rectangular window peaks near 111)
   from the 512 frames at the play position, and returns 512, or 0 with both
   arrays zeroed before 512 frames have played. engineGetWaveform fills 256
   samples per channel scaled to -100..100 and returns 256; it returns 0
   without touching the arrays while the position is 0. Mono streams give a
   right side of zeros; 8-bit streams are read as 8-bit samples. Callable
   from any thread while another plays; calls are taken one at a time. */
ORVA_API int32_t engineSetAnalyserMode(int32_t mode) ORVA_NOEXCEPT;
ORVA_API int32_t engineGetSpectrum(int32_t* left256, int32_t* right256) ORVA_NOEXCEPT;
ORVA_API int32_t engineGetWaveform(int32_t* left256, int32_t* right256) ORVA_NOEXCEPT;

/* ID3v1 tags of files by path. */
ORVA_API int32_t readId3v1File(const char* path, Id3v1Record* tag) ORVA_NOEXCEPT;
ORVA_API int32_t readId3v11File(const char* path, Id3v11Record* tag) ORVA_NOEXCEPT;
ORVA_API int32_t writeId3v1Tag(const char* path, Id3v1Record* tag, int32_t refreshNowPlaying,
                               int32_t create) ORVA_NOEXCEPT;
ORVA_API int32_t writeId3v11Tag(const char* path, Id3v11Record* tag, int32_t refreshNowPlaying,
                                int32_t create) ORVA_NOEXCEPT;

/* ---- Playback, transport, positions and sound output ---- */

/* Events of the callback (event, value), called from the playback thread. */
enum EngineEvent {
  ENGINE_EVENT_RESYNC = 0,   /* a frame failed to decode; value 0 */
  ENGINE_EVENT_STOPPED = 1,  /* stopped by a stop request; value 0 */
  ENGINE_EVENT_POSITION = 2, /* started, position changed or resumed; value: seconds */
  ENGINE_EVENT_PAUSED = 3,   /* value 0 */
  ENGINE_EVENT_ENDED = 4     /* ended by itself (end of data, fade-out, read failure); value 0 */
};

typedef void (*EngineCallback)(int32_t event, int32_t value);

/* Device ids of engineSetDevice besides the system's own (0, 1, ...). */
enum EngineDevice {
  ENGINE_DEVICE_DEFAULT = -1, /* the system's default device (the wave mapper) */
  ENGINE_DEVICE_SILENT = -2   /* plays nothing, at the real-time rate, on any machine */
};

/* Transport. Posted operations wait at most 500 ms for the playback thread. */
ORVA_API int32_t enginePlay(void) ORVA_NOEXCEPT;
ORVA_API int32_t enginePlayToWave(const char* path) ORVA_NOEXCEPT;
ORVA_API int32_t engineDecodeToWave(const char* path) ORVA_NOEXCEPT;
ORVA_API int32_t engineStop(void) ORVA_NOEXCEPT;
ORVA_API int32_t enginePause(void) ORVA_NOEXCEPT;
ORVA_API int32_t engineResume(void) ORVA_NOEXCEPT;
ORVA_API int32_t engineRestart(void) ORVA_NOEXCEPT;
ORVA_API int32_t engineSeekSeconds(int32_t seconds) ORVA_NOEXCEPT;
ORVA_API int32_t engineSeekFrame(int32_t frame) ORVA_NOEXCEPT;
ORVA_API int32_t engineSeekSamples(int32_t sample) ORVA_NOEXCEPT;
ORVA_API int32_t engineSetEqualizer(const int32_t* bandValues) ORVA_NOEXCEPT;

/* Positions: the state is returned, the position in seconds written. */
ORVA_API int32_t engineGetState(int32_t* positionSeconds) ORVA_NOEXCEPT;
ORVA_API int32_t engineGetPositionMs(void) ORVA_NOEXCEPT;
ORVA_API int32_t engineGetFrameIndex(void) ORVA_NOEXCEPT;
ORVA_API int32_t engineGetPositionSamples(void) ORVA_NOEXCEPT;

/* Sound output. Volumes are 0..100. */
ORVA_API int32_t engineSetVolume(int32_t left, int32_t right) ORVA_NOEXCEPT;
ORVA_API int32_t engineGetVolume(int32_t* left, int32_t* right) ORVA_NOEXCEPT;
ORVA_API int32_t engineSetDevice(int32_t deviceId) ORVA_NOEXCEPT;
ORVA_API int32_t engineGetVolumeCaps(void) ORVA_NOEXCEPT;
ORVA_API int32_t engineSetSoftVolume(int32_t left, int32_t right) ORVA_NOEXCEPT;
ORVA_API int32_t engineGetSoftVolume(int32_t* left, int32_t* right) ORVA_NOEXCEPT;
ORVA_API int32_t engineSetFadeIn(int32_t on) ORVA_NOEXCEPT;
ORVA_API int32_t engineSetFadeOutAtEnd(int32_t on) ORVA_NOEXCEPT;
ORVA_API int32_t engineFadeOutAndStop(void) ORVA_NOEXCEPT;
ORVA_API int32_t engineSetRatePercent(int32_t percent) ORVA_NOEXCEPT;
ORVA_API int32_t engineGetRatePercent(void) ORVA_NOEXCEPT;
ORVA_API int32_t engineSetCueMode(int32_t factor, int32_t blockCount) ORVA_NOEXCEPT;
ORVA_API int32_t engineGetCueFactor(void) ORVA_NOEXCEPT;

/* The callback: only while stopped; enabled when set. */
ORVA_API int32_t engineSetCallback(EngineCallback callback) ORVA_NOEXCEPT;
ORVA_API int32_t engineEnableCallback(void) ORVA_NOEXCEPT;
ORVA_API int32_t engineDisableCallback(void) ORVA_NOEXCEPT;

/* ---- end of the playback block ---- */

/* ---- Encoding a PCM WAVE file into an MPEG Layer-3 stream ---- */

/* What encoderOpenSource learned of the source. */
typedef struct EncoderSourceInfo {
  int32_t channels;
  int32_t bitsPerSample;
  int32_t samplesPerSecond;
  int32_t dataSize; /* bytes of audio in the data chunk that the file really holds */
} EncoderSourceInfo;

/* Detail code (engineGetDetailCode) of a source the encoder cannot use:
   4 it cannot be opened (status 5), 7 not RIFF, 8 RIFF but not WAVE,
   9 WAVE without a fmt chunk (16 to 1024 bytes) before a data chunk (6). */
enum EncoderSourceDetail {
  ENCODER_SOURCE_CANNOT_OPEN = 4,
  ENCODER_SOURCE_NOT_RIFF = 7,
  ENCODER_SOURCE_NOT_WAVE = 8,
  ENCODER_SOURCE_NO_AUDIO = 9
};

/* Calling order: encoderOpenSource, encoderStart, then encoderGetProgress
   until it returns 0; encoderAbort at any time in between. The conversion
   runs on a worker thread and may run while a track plays. Only the source's
   data chunk is encoded, and the stream always ends on a whole frame.

   The destination is written to a new file beside it and put in its place
   only when the stream is complete; until then an existing destination is
   untouched, and a conversion that fails (read, write or codec error) leaves
   it as it was. encoderStart fails with status 7 while a conversion runs (it
   is left alone), 1 when the new file cannot be created, 30 or 31 when the
   codec is missing or lists nothing, 32 when no format fits the source (a
   rate or channel count outside the codec's list) or the codec refuses it,
   28 when the thread cannot be created; every failed start but the first
   (status 7) closes the source. */
ORVA_API int32_t encoderOpenSource(const char* path, EncoderSourceInfo* info) ORVA_NOEXCEPT;
ORVA_API int32_t encoderStart(const char* destinationPath) ORVA_NOEXCEPT;
/* Asks the running conversion to stop: the stream is ended on a whole frame
   and what was encoded so far is put in place under the destination's name;
   encoderGetProgress returns 1 until it is. Status 15 and 0 when no
   conversion runs (or one was already asked to stop). */
ORVA_API int32_t encoderAbort(void) ORVA_NOEXCEPT;
/* Writes the source bytes read and the stream bytes written so far (both 0
   once the conversion has ended) and returns 1 while it runs, else 0. */
ORVA_API int32_t encoderGetProgress(int32_t* bytesRead, int32_t* bytesWritten) ORVA_NOEXCEPT;

/* How the last conversion ended. */
enum EncoderResult {
  ENCODER_RESULT_NONE = -1,    /* running, or none has run */
  ENCODER_RESULT_FAILED = 0,   /* nothing put in place; the status code says why (3, 4, 32) */
  ENCODER_RESULT_FINISHED = 1, /* the whole source is encoded and in place */
  ENCODER_RESULT_ABORTED = 2   /* stopped early; what was encoded is in place */
};
ORVA_API int32_t encoderGetResult(void) ORVA_NOEXCEPT;

/* ---- end of the encoder block ---- */

/* ---- Tags, lyrics and conversions (the tag library's entry points) ---- */

/* Fourteen INFO texts of 128 bytes: INAM IART IPRD ICMT ICRD IGNR ICOP IENG
   ISRC ISFT IKEY ITCH ILYC ICMS. */
typedef struct InfoText {
  char slots[14][128];
} InfoText;

/* The extended form: 17 texts of 2048 bytes: INAM IART IPRD ICMT ICRD IGNR
   ICOP IENG ISRC ISFT IKEY ITCH ICMS IMED ISBJ IMP3 ILYC. */
typedef struct InfoTextLong {
  char slots[17][2048];
} InfoTextLong;

/* The fields of a Lyrics3 v2 block. */
typedef struct Lyrics3Fields {
  char indicators[2]; /* IND */
  char lyrics[60000]; /* LYR */
  char info[60000];   /* INF */
  char author[250];   /* AUT */
  char album[250];    /* EAL */
  char artist[250];   /* EAR */
  char title[250];    /* ETT */
  char image[60000];  /* IMG */
} Lyrics3Fields;

/* The lyric lines around the play position (current +2 first). */
typedef struct LyricWindow {
  int32_t timeMs;
  char next2[128];
  char next1[128];
  char current[128];
  char previous1[128];
  char previous2[128];
} LyricWindow;

/* The same by text line, for lines with several time stamps. */
typedef struct LyricLineWindow {
  int32_t timeMs;
  int32_t sourceLine;
  int32_t segment;
  int32_t timeToNext;
  char lineAfterNext[128];
  char nextLine[128];
  char currentSegment[128];
  char segmentsBefore[128];
  char segmentsUpToCurrent[128];
  char currentLine[128];
  char previousLine[128];
  char lineBeforePrevious[128];
} LyricLineWindow;

/* Lyrics. */
ORVA_API int32_t loadLyricsText(const char* path) ORVA_NOEXCEPT;
/* The lyrics text file beside an audio file (its name with the extension
   replaced by ".txt"), loaded as the player shows it: only each line's first
   time stamp counts. 1 when the file was there and loaded; 0 otherwise (the
   list is then empty). Status 13 unless stopped, 18 for an empty path. */
ORVA_API int32_t loadLyricsBeside(const char* audioPath) ORVA_NOEXCEPT;
ORVA_API int32_t getLyricWindow(LyricWindow* window) ORVA_NOEXCEPT;
ORVA_API int32_t getLyricLineWindow(LyricLineWindow* window) ORVA_NOEXCEPT;
ORVA_API int32_t readLyrics3File(const char* path, Lyrics3Fields* fields) ORVA_NOEXCEPT;
ORVA_API int32_t readLyrics3FileSplit(const char* path, char* indicatorsAndShortFields, char* lyrics, char* info,
                                      char* image) ORVA_NOEXCEPT;
ORVA_API int32_t setReadLyrics3OnOpen(int32_t enabled) ORVA_NOEXCEPT;
/* The Lyrics3 block of the file the engine has open. */
ORVA_API int32_t loadLyricsFromLyrics3(void) ORVA_NOEXCEPT;
ORVA_API int32_t clearLyrics(void) ORVA_NOEXCEPT;
ORVA_API int32_t setMultiStampLines(int32_t enabled) ORVA_NOEXCEPT;
ORVA_API int32_t setLyricsUseMeasuredDuration(int32_t enabled) ORVA_NOEXCEPT;
ORVA_API int32_t writeLyrics3(const char* path, const Lyrics3Fields* fields) ORVA_NOEXCEPT;
ORVA_API int32_t removeLyrics3(const char* path) ORVA_NOEXCEPT;
ORVA_API int32_t writeLyrics3Split(const char* path, const char* indicatorsAndShortFields, const char* lyrics,
                                   const char* info, const char* image) ORVA_NOEXCEPT;
ORVA_API int32_t setLyricsPlacement(int32_t mode) ORVA_NOEXCEPT;

/* Conversions between bare MPEG audio and the RIFF containers. */
ORVA_API int32_t convertToWaveMpeg(const char* path) ORVA_NOEXCEPT;
ORVA_API int32_t convertToMpeg(const char* path) ORVA_NOEXCEPT;
ORVA_API int32_t convertToRmp3(const char* path) ORVA_NOEXCEPT;
ORVA_API int32_t stripLeadingHeader(const char* path) ORVA_NOEXCEPT;

/* RIFF INFO text and file information. */
ORVA_API int32_t writeInfo(const char* path, const InfoText* text) ORVA_NOEXCEPT;
ORVA_API int32_t writeInfoLong(const char* path, const InfoTextLong* text) ORVA_NOEXCEPT;
ORVA_API int32_t writeInfoShort(const char* path, const char* texts17x512) ORVA_NOEXCEPT;
ORVA_API int32_t readInfoLong(const char* path, InfoTextLong* text) ORVA_NOEXCEPT;
ORVA_API int32_t readInfoShort(const char* path, char* texts17x512) ORVA_NOEXCEPT;
ORVA_API int32_t readFileInfo(const char* path, Id3v1Record* tag, FileInfo* info, InfoText* text) ORVA_NOEXCEPT;
ORVA_API int32_t readFileInfoBrief(const char* path, Id3v1Record* tag, FileInfo* info) ORVA_NOEXCEPT;
ORVA_API int32_t readFileInfoFlags(const char* path, Id3v1Record* tag, FileInfo* info, InfoText* text,
                                   int32_t* flags) ORVA_NOEXCEPT;
ORVA_API int32_t getOpenFileInfoText(InfoText* text) ORVA_NOEXCEPT;
/* The bits probeTagLayout returns (-1 when the file cannot be read). */
enum TagLayoutBit {
  TAG_LAYOUT_WAVE = 1,           /* RIFF "WAVE" */
  TAG_LAYOUT_RMP3 = 2,           /* RIFF "RMP3" */
  TAG_LAYOUT_ID3V2 = 4,          /* an ID3v2 tag where the audio starts */
  TAG_LAYOUT_LEADING_HEADER = 8, /* first byte 0: a 128-byte header */
  TAG_LAYOUT_ID3V1 = 16,         /* the last 128 bytes begin "TAG" */
  TAG_LAYOUT_LYRICS3 = 32        /* a Lyrics3 v2 block */
};
ORVA_API int32_t probeTagLayout(const char* path) ORVA_NOEXCEPT;

/* ---- end of the tag library's block ---- */

#ifdef __cplusplus
}
#endif

#endif /* ORVA_ENGINE_H */
