// One sentence per status code of orva_engine.h.
#include "engine/status_text.h"

#include "orva_engine.h"

namespace orva {

const char* statusText(int32_t status) {
  switch (status) {
    case ENGINE_OK: return "Nothing has failed.";
    case ENGINE_ERR_OPEN: return "The path is empty, or the file cannot be opened or created.";
    case ENGINE_ERR_NOT_OPEN: return "No file is open.";
    case ENGINE_ERR_READ: return "A read failed or returned fewer bytes than needed.";
    case ENGINE_ERR_WRITE: return "A write failed or was short, or there was no tag to overwrite.";
    case ENGINE_ERR_WAVE_CREATE: return "The WAV output file or the encoder source cannot be opened.";
    case ENGINE_ERR_NOT_WAVE: return "The encoder source is not a RIFF WAVE file.";
    case ENGINE_ERR_ENCODER_BUSY: return "An encoder source or destination is already open, or no source is open.";
    case ENGINE_ERR_LYRICS_OPEN: return "The lyrics text file cannot be opened.";
    case ENGINE_ERR_NO_LYRIC: return "There is no lyrics entry for that time.";
    case ENGINE_ERR_NO_SYNC: return "No MPEG frame sync was found in the first 10240 bytes of audio.";
    case ENGINE_ERR_BAD_HEADER: return "The first MPEG frame header is not valid.";
    case ENGINE_ERR_NOT_PLAYING: return "Nothing is playing.";
    case ENGINE_ERR_BUSY: return "Not allowed while the engine is playing or paused.";
    case ENGINE_ERR_NOT_PAUSABLE: return "Playback is stopped or already paused.";
    case ENGINE_ERR_NO_CONVERSION: return "No conversion is running.";
    case ENGINE_ERR_START_TIMEOUT: return "The playback thread did not start in time.";
    case ENGINE_ERR_STOP_TIMEOUT: return "The playback thread did not stop in time.";
    case ENGINE_ERR_ARGUMENT: return "An argument is out of range, or the stream's first read returned nothing.";
    case ENGINE_ERR_MEMORY: return "Out of memory.";
    case ENGINE_ERR_RIFF_KIND: return "The file is RIFF where plain MPEG audio is required, or the reverse.";
    case ENGINE_ERR_ALREADY_RIFF: return "The file is already a RIFF file.";
    case ENGINE_ERR_ZERO_FIRST_BYTE: return "The file's first byte is 0.";
    case ENGINE_ERR_RIFF_WALK: return "The RIFF chunks cannot be walked, or the format is not supported.";
    case ENGINE_ERR_DEVICE_OPEN: return "The wave output device cannot be opened.";
    case ENGINE_ERR_DECODER_START: return "The decoder failed to start on the first frame.";
    case ENGINE_ERR_THREAD_CREATE: return "The playback thread cannot be created.";
    case ENGINE_ERR_ENCODER_THREAD: return "The conversion thread cannot be created.";
    case ENGINE_ERR_EVENT_CREATE: return "The event for a posted message cannot be created.";
    case ENGINE_ERR_NO_CODEC: return "The MPEG Layer-3 codec driver is not installed.";
    case ENGINE_ERR_NO_CODEC_FORMAT: return "The codec lists no MPEG Layer-3 format.";
    case ENGINE_ERR_CONVERSION_OPEN: return "The conversion stream cannot be opened.";
    case ENGINE_ERR_CUE_ON_NT: return "Cue mode is refused on Windows NT.";
    default: return "Unknown status code.";
  }
}

}  // namespace orva
