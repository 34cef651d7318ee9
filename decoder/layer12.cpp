// Layer I and Layer II frames: stream preparation, the allocation pass that
// compiles each frame into a list of entry operations (factor and scale
// factor folded together, subbands above the decoding limit reduced to one
// bit skip per slot or granule), and the sample loops. Runs inside
// decodeFrame on the playback thread.
#include "decoder/layer12.h"

#include <cstring>

#include "decoder/bit_reader.h"
#include "decoder/decoder_internal.h"
#include "decoder/decoder_state.h"
#include "decoder/iso_tables.h"
#include "decoder/synthesis.h"

namespace orva {
namespace {

constexpr int32_t kAllocationWidth[4] = {4, 4, 3, 2};

Layer12State& state() { return gDecoder.layer12; }

void writeSilence(uint8_t* output) {
  const bool eight = (gDecoder.options.outputFlags & 8) != 0;
  std::memset(output, eight ? 0x80 : 0, static_cast<size_t>(gDecoder.outputBytesPerFrame));
}

// Entries below which each channel has its own allocation: joint stereo
// shares from subband 4, 8, 12 or 16 by mode_extension.
int32_t boundEntries(int32_t mode, int32_t modeExtension) {
  if (mode == 1) return 8 * (modeExtension + 1);
  return mode == 3 ? 32 : 64;
}

// The bit reader loads ahead and a damaged frame may ask for more bits than
// it holds: the handlers read a copy whose tail is zero.
int32_t copyFrame(const uint8_t* frame) {
  Layer12State& L = state();
  int32_t length = gDecoder.currentFrameLength;
  if (length > kLayer12FrameBytes) length = kLayer12FrameBytes;
  std::memcpy(L.frame, frame, static_cast<size_t>(length));
  std::memset(L.frame + length, 0, 256);
  return length;
}

// Zero the tail up to where the frame's syntax ends, when it ends past the frame.
void coverDemand(int32_t frameBytes, int32_t demandBits) {
  const int32_t end = demandBits / 8 + 16;
  if (end > frameBytes + 256) {
    std::memset(state().frame + frameBytes + 256, 0, static_cast<size_t>(end - frameBytes - 256));
  }
}

void skipBits(BitReader& br, int32_t n) {
  if (n <= br.count) {
    br.skip(n);
  } else {
    br.start(br.base, br.position() + n);
  }
}

// Zero the entries the last frames wrote and this one does not.
void clearStale(int32_t written, int32_t slots) {
  Layer12State& L = state();
  if (L.dirtyEntries > written) {
    const size_t n = static_cast<size_t>(L.dirtyEntries - written) * sizeof(float);
    for (int32_t t = 0; t < slots; ++t) std::memset(L.samples + 64 * t + written, 0, n);
  }
  L.dirtyEntries = written;
}

// A frame with another channel count than the stream: bring its samples to
// the stream's layout (a mono frame fills both channels, a two-channel frame
// is mixed down), so the output format fixed at the start holds.
void matchStreamLayout(int32_t frameChannels, int32_t slots) {
  Layer12State& L = state();
  for (int32_t t = 0; t < slots; ++t) {
    float* x = L.samples + 64 * t;
    if (frameChannels == 1) {
      for (int32_t s = 31; s >= 0; --s) x[2 * s] = x[2 * s + 1] = x[s];
    } else {
      for (int32_t s = 0; s < 32; ++s) x[s] = (x[2 * s] + x[2 * s + 1]) * 0.5f;
      std::memset(x + 32, 0, 32 * sizeof(float));
    }
  }
  L.dirtyEntries = 64;
}

// Before a frame's sample loop: the frame's channel layout decides how the
// sample buffer is brought in order. Returns true when it must be converted after.
bool beginSamples(int32_t frameChannels, int32_t written, int32_t slots) {
  if (frameChannels == state().channels) {
    clearStale(written, slots);
    return false;
  }
  std::memset(state().samples, 0, sizeof state().samples);
  return true;
}

bool prepareCommon(const MpegFrameHeader& header) {
  Layer12State& L = state();
  const DecoderOptions& o = gDecoder.options;
  L.layer = header.layer;
  L.channels = header.mode == 3 ? 1 : 2;
  const int32_t shift = o.downsampleShift < 0 ? 0 : (o.downsampleShift > 2 ? 2 : o.downsampleShift);
  int32_t s = 32 >> shift;
  if (s > 8 && !decoderFullBandwidth()) s -= 1;  // the top subband stays silent
  const int64_t sr = gDecoder.streamSampleRate;
  int64_t byBandwidth = (static_cast<int64_t>(o.bandwidthLimitHz) * 64 + sr / 2) / sr;
  if (byBandwidth < 0) byBandwidth = 0;
  L.limitSubbands = byBandwidth < s ? static_cast<int32_t>(byBandwidth) : s;
  L.dirtyEntries = 0;
  L.opCount = 0;
  std::memset(L.samples, 0, sizeof L.samples);
  std::memset(L.frame, 0, sizeof L.frame);
  chooseSynthesisLayer12(header.mode);
  return true;
}

// Ends the operation list at the decoding limit: a skip marker when bits of
// coded entries lie beyond it, and the end marker after the last entry.
// Trailing entries without allocation are dropped from the list: the
// samples they would zero are cleared only when an earlier frame wrote them.
void finishOps(int32_t n, int32_t limit, int32_t entries) {
  Layer12State& L = state();
  while (n > 0 && L.ops[n - 1].kind == L12_ZERO) --n;
  const Layer12Op* last = n > 0 ? &L.ops[n - 1] : nullptr;
  const bool shared = last && (last->kind == L12_SHARED_PLAIN || last->kind == L12_SHARED_GROUPED);
  L.writtenEntries = last ? last->entry + (shared ? 2 : 1) : 0;
  L.ops[n].kind = limit < entries && L.skipBits > 0 ? L12_SKIP : L12_END;
  L.opCount = n + 1;
}

// An entry with no allocation; above the bound its partner entry is silent
// too. `op` is the list's entry n - 1; n and e step past the partner.
void markSilent(Layer12Op& op, int32_t& n, int32_t& e, bool shared) {
  op.kind = L12_ZERO;
  if (!shared) return;
  Layer12State& L = state();
  L.ops[n] = op;
  L.ops[n++].entry = static_cast<uint8_t>(e + 1);
  ++e;
}

// ---- Layer I ----

void l1Compile(BitReader& br, int32_t nch, int32_t bound, int32_t limit) {
  Layer12State& L = state();
  const int32_t entries = 32 * nch;
  // allocation
  for (int32_t e = 0; e < entries; ++e) {
    if (nch == 2 && e >= bound) {
      const uint8_t a = static_cast<uint8_t>(br.read(4));  // allocation, both channels
      L.allocation[e] = L.allocation[e + 1] = a;
      ++e;
    } else {
      L.allocation[e] = static_cast<uint8_t>(br.read(4));  // allocation
    }
  }
  // scalefactor
  for (int32_t e = 0; e < entries; ++e) {
    if (L.allocation[e] != 0) L.scalefactor[e][0] = static_cast<uint8_t>(br.read(6));
  }
  const Layer12Tables& t = gL12Tables;
  int32_t n = 0;
  L.skipBits = 0;
  for (int32_t e = 0; e < entries; ++e) {
    const int32_t a = L.allocation[e];
    const bool shared = nch == 2 && e >= bound;
    const int32_t bits = a == 0 ? 0 : a + 1;
    if (e >= limit) {
      L.skipBits += bits;
      if (shared) ++e;
      continue;
    }
    Layer12Op& op = L.ops[n++];
    op.entry = static_cast<uint8_t>(e);
    op.bits = static_cast<uint8_t>(bits);
    op.offset = static_cast<float>((1 << (bits > 0 ? bits - 1 : 0)) - 1);
    if (a == 0) {
      markSilent(op, n, e, shared);
      continue;
    }
    op.scaled[0] = t.layer1Factor[a] * t.multiplier[L.scalefactor[e][0]];
    op.kind = shared ? L12_SHARED_PLAIN : L12_PLAIN;
    if (shared) {
      op.scaledRight[0] = t.layer1Factor[a] * t.multiplier[L.scalefactor[e + 1][0]];
      ++e;
    }
  }
  finishOps(n, limit, entries);
}

void l1Samples(BitReader& br) {
  Layer12State& L = state();
  float* out = L.samples;
  for (int32_t slot = 0; slot < 12; ++slot, out += 64) {
    for (const Layer12Op* op = L.ops;; ++op) {
      const int32_t kind = op->kind;
      if (kind == L12_ZERO) {
        out[op->entry] = 0.0f;
      } else if (kind == L12_PLAIN) {
        out[op->entry] = (static_cast<float>(br.read(op->bits)) - op->offset) * op->scaled[0];  // sample
      } else if (kind == L12_SHARED_PLAIN) {
        const float v = static_cast<float>(br.read(op->bits)) - op->offset;  // sample, both channels
        out[op->entry] = v * op->scaled[0];
        out[op->entry + 1] = v * op->scaledRight[0];
      } else {
        if (kind == L12_SKIP) skipBits(br, L.skipBits);
        break;
      }
    }
  }
}

// ---- Layer II ----

int32_t l2Table(const FrameDecodeJob& job) {
  if (job.version != 1) return 4;
  // Combinations the standard does not allow still carry a whole frame:
  // they are read with the table their bitrate per channel points to.
  const int32_t t = l2TableByChannelRate(job.mode, job.sampleRateIndex, job.bitrateIndex);
  return t < 0 ? 0 : t;
}

void l2ReadSideInfo(BitReader& br, const Layer2AllocationTable& table, int32_t nch, int32_t bound) {
  Layer12State& L = state();
  int32_t e = 0;
  for (int32_t g = 0; g < 4; ++g) {
    const int32_t width = kAllocationWidth[g];
    for (int32_t k = 0; k < table.groupSubbands[g]; ++k) {
      if (nch == 2 && e >= bound) {
        const uint8_t c = table.classes[g][br.read(width)];  // allocation, both channels
        L.allocation[e] = L.allocation[e + 1] = c;
        e += 2;
      } else {
        for (int32_t ch = 0; ch < nch; ++ch) L.allocation[e++] = table.classes[g][br.read(width)];  // allocation
      }
    }
  }
  const int32_t entries = e;
  for (e = 0; e < entries; ++e) {
    if (L.allocation[e] != 0) L.scfsi[e] = static_cast<uint8_t>(br.read(2));  // scfsi
  }
  for (e = 0; e < entries; ++e) {
    if (L.allocation[e] == 0) continue;
    uint8_t* sf = L.scalefactor[e];
    switch (L.scfsi[e]) {  // scalefactor: three, two or one sent per scfsi
      case 0:
        sf[0] = static_cast<uint8_t>(br.read(6));
        sf[1] = static_cast<uint8_t>(br.read(6));
        sf[2] = static_cast<uint8_t>(br.read(6));
        break;
      case 1:
        sf[0] = sf[1] = static_cast<uint8_t>(br.read(6));
        sf[2] = static_cast<uint8_t>(br.read(6));
        break;
      case 2: sf[0] = sf[1] = sf[2] = static_cast<uint8_t>(br.read(6)); break;
      default:
        sf[0] = static_cast<uint8_t>(br.read(6));
        sf[1] = sf[2] = static_cast<uint8_t>(br.read(6));
        break;
    }
  }
}

void l2Scale(float* out, const uint8_t* sf, float factor) {
  const float* m = gL12Tables.multiplier;
  for (int32_t p = 0; p < 3; ++p) out[p] = factor * m[sf[p]];
}

const int8_t* degroupTable(int32_t cls) {
  const Layer12Tables& t = gL12Tables;
  return cls == 1 ? t.degroup3 : (cls == 2 ? t.degroup5 : t.degroup9);
}

void l2Compile(int32_t entries, int32_t nch, int32_t bound, int32_t limit) {
  Layer12State& L = state();
  const Layer12Tables& t = gL12Tables;
  int32_t n = 0;
  L.skipBits = 0;
  for (int32_t e = 0; e < entries; ++e) {
    const int32_t c = L.allocation[e];
    const bool shared = nch == 2 && e >= bound;
    if (e >= limit) {
      L.skipBits += kLayer2ClassBits[c];
      if (shared) ++e;
      continue;
    }
    Layer12Op& op = L.ops[n++];
    op.entry = static_cast<uint8_t>(e);
    if (c == 0) {
      markSilent(op, n, e, shared);
      continue;
    }
    const bool grouped = c == 1 || c == 2 || c == 4;
    op.bits = static_cast<uint8_t>(grouped ? kLayer2ClassBits[c] : kLayer2ClassBits[c] / 3);
    op.offset = static_cast<float>((kLayer2ClassLevels[c] - 1) / 2);
    op.degroup = grouped ? degroupTable(c) : nullptr;
    l2Scale(op.scaled, L.scalefactor[e], t.classFactor[c]);
    if (shared) {
      op.kind = grouped ? L12_SHARED_GROUPED : L12_SHARED_PLAIN;
      l2Scale(op.scaledRight, L.scalefactor[e + 1], t.classFactor[c]);
      ++e;
    } else {
      op.kind = grouped ? L12_GROUPED : L12_PLAIN;
    }
  }
  finishOps(n, limit, entries);
}

// The next n bits (1..32) of a reader that holds them.
inline uint32_t take(BitReader& br, int32_t n) {
  const uint32_t v = br.peek(n);
  br.skip(n);
  return v;
}

// One granule: three samples of every entry, at out[0], out[64], out[128].
// Each operation refills the reader at most once: three codes take at most
// 48 bits, and a refilled reader holds 56.
void l2Granule(BitReader& reader, float* out, int32_t part) {
  Layer12State& L = state();
  BitReader br = reader;
  for (const Layer12Op* op = L.ops;; ++op) {
    float* x = out + op->entry;
    const int32_t bits = op->bits;
    switch (op->kind) {
      case L12_ZERO: x[0] = x[64] = x[128] = 0.0f; break;
      case L12_PLAIN: {
        if (br.count < 3 * bits) br.refill();
        const float f = op->scaled[part];
        for (int32_t k = 0; k < 3; ++k) x[64 * k] = (static_cast<float>(take(br, bits)) - op->offset) * f;  // sample
        break;
      }
      case L12_GROUPED: {
        if (br.count < bits) br.refill();
        const int8_t* d = op->degroup + 3 * take(br, bits);  // grouped samples
        const float f = op->scaled[part];
        for (int32_t k = 0; k < 3; ++k) x[64 * k] = static_cast<float>(d[k]) * f;
        break;
      }
      case L12_SHARED_PLAIN: {
        if (br.count < 3 * bits) br.refill();
        const float f = op->scaled[part], g = op->scaledRight[part];
        for (int32_t k = 0; k < 3; ++k) {
          const float v = static_cast<float>(take(br, bits)) - op->offset;  // sample, both channels
          x[64 * k] = v * f;
          x[64 * k + 1] = v * g;
        }
        break;
      }
      case L12_SHARED_GROUPED: {
        if (br.count < bits) br.refill();
        const int8_t* d = op->degroup + 3 * take(br, bits);  // grouped samples, both channels
        const float f = op->scaled[part], g = op->scaledRight[part];
        for (int32_t k = 0; k < 3; ++k) {
          x[64 * k] = static_cast<float>(d[k]) * f;
          x[64 * k + 1] = static_cast<float>(d[k]) * g;
        }
        break;
      }
      default:  // the skip or end operation
        if (op->kind == L12_SKIP) skipBits(br, L.skipBits);
        reader = br;
        return;
    }
  }
}

int32_t opBits(const Layer12Op& op, int32_t codesPerSlot) {
  if (op.kind == L12_ZERO || op.kind >= L12_SKIP) return 0;
  return op.bits * codesPerSlot;
}

// Bits of one slot (Layer I) or granule (Layer II) of the compiled frame.
int32_t slotBits(int32_t codesPerPlain) {
  const Layer12State& L = state();
  int32_t bits = L.skipBits;
  for (int32_t i = 0; i + 1 < L.opCount; ++i) {
    const Layer12Op& op = L.ops[i];
    const bool grouped = op.kind == L12_GROUPED || op.kind == L12_SHARED_GROUPED;
    bits += opBits(op, grouped ? 1 : codesPerPlain);
  }
  return bits;
}

}  // namespace

bool prepareLayer1(const MpegFrameHeader& header) { return prepareCommon(header); }

// A stream whose bitrate and mode the standard does not allow for Layer II
// has no table of its own; it is decoded with the table its bitrate per
// channel points to (see l2Table), as its frames are whole and readable.
bool prepareLayer2(const MpegFrameHeader& header) { return prepareCommon(header); }

void layer1Handler(FrameDecodeJob& job, const uint8_t* frame, uint8_t* output) {
  Layer12State& L = state();
  if (job.layer != 1 || job.version != gDecoder.streamVersion) {
    writeSilence(output);
    return;
  }
  const int32_t nch = job.mode == 3 ? 1 : 2;
  const int32_t frameBytes = copyFrame(frame);
  BitReader br;
  br.start(L.frame, job.hasCrc ? 48 : 32);  // the CRC is not checked
  const int32_t limit = L.limitSubbands * nch;
  l1Compile(br, nch, boundEntries(job.mode, job.modeExtension), limit);
  coverDemand(frameBytes, br.position() + 12 * slotBits(1));
  const bool convert = beginSamples(nch, L.writtenEntries, 12);
  l1Samples(br);
  if (convert) matchStreamLayout(nch, 12);
  gDecoder.synthesis.layer12(L.samples, output, 12);
}

void layer2Handler(FrameDecodeJob& job, const uint8_t* frame, uint8_t* output) {
  Layer12State& L = state();
  if (job.layer != 2 || job.version != gDecoder.streamVersion) {
    writeSilence(output);
    return;
  }
  const int32_t nch = job.mode == 3 ? 1 : 2;
  const Layer2AllocationTable& table = kLayer2AllocationTables[l2Table(job)];
  const int32_t frameBytes = copyFrame(frame);
  BitReader br;
  br.start(L.frame, job.hasCrc ? 48 : 32);  // the CRC is not checked
  const int32_t bound = boundEntries(job.mode, job.modeExtension);
  l2ReadSideInfo(br, table, nch, bound);
  const int32_t entries = table.subbands * nch;
  const int32_t limitSubbands = L.limitSubbands < table.subbands ? L.limitSubbands : table.subbands;
  const int32_t limit = limitSubbands * nch;
  l2Compile(entries, nch, bound, limit);
  coverDemand(frameBytes, br.position() + 12 * slotBits(3));
  const bool convert = beginSamples(nch, L.writtenEntries, 36);
  float* out = L.samples;
  for (int32_t part = 0; part < 3; ++part) {
    for (int32_t g = 0; g < 4; ++g, out += 3 * 64) l2Granule(br, out, part);
  }
  if (convert) matchStreamLayout(nch, 36);
  gDecoder.synthesis.layer12(L.samples, output, 36);
}

}  // namespace orva
