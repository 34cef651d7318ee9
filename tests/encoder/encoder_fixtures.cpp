#include "tests/encoder/encoder_fixtures.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <thread>

namespace orva::test {
namespace {

void put32(std::vector<uint8_t>& out, uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}
void put16(std::vector<uint8_t>& out, uint32_t v) {
  out.push_back(static_cast<uint8_t>(v));
  out.push_back(static_cast<uint8_t>(v >> 8));
}

}  // namespace

std::vector<int16_t> chirpSamples(const PcmShape& shape, int64_t frames) {
  std::vector<int16_t> out(static_cast<size_t>(frames * shape.channels));
  const double pi = 3.14159265358979323846;
  const double f0 = 150, f1 = shape.rate / 8.0;
  const double seconds = static_cast<double>(frames) / shape.rate;
  const double k = std::log(f1 / f0) / seconds;
  for (int64_t i = 0; i < frames; ++i) {
    const double t = static_cast<double>(i) / shape.rate;
    const double chirp = std::sin(2 * pi * f0 * (std::exp(k * t) - 1) / k);
    const double tone = std::sin(2 * pi * 440 * t) * (0.75 + 0.25 * std::sin(2 * pi * 3 * t));
    for (int c = 0; c < shape.channels; ++c) {
      out[static_cast<size_t>(i * shape.channels + c)] = static_cast<int16_t>(12000 * (c == 0 ? chirp : tone));
    }
  }
  return out;
}

std::vector<uint8_t> pcmBytes(const std::vector<int16_t>& samples, int bits) {
  std::vector<uint8_t> out;
  out.reserve(samples.size() * 2);
  for (int16_t s : samples) {
    if (bits == 8) {
      out.push_back(static_cast<uint8_t>((s >> 8) + 128));
    } else {
      put16(out, static_cast<uint16_t>(s));
    }
  }
  return out;
}

std::vector<uint8_t> chunk(const char* id, const std::vector<uint8_t>& payload) {
  std::vector<uint8_t> out(id, id + 4);
  put32(out, static_cast<uint32_t>(payload.size()));
  out.insert(out.end(), payload.begin(), payload.end());
  if (payload.size() % 2 != 0) out.push_back(0);
  return out;
}

std::vector<uint8_t> waveFile(const PcmShape& shape, const std::vector<uint8_t>& data,
                              const std::vector<uint8_t>& before, const std::vector<uint8_t>& after) {
  std::vector<uint8_t> format;
  const int blockAlign = shape.channels * shape.bits / 8;
  put16(format, 1);
  put16(format, static_cast<uint32_t>(shape.channels));
  put32(format, static_cast<uint32_t>(shape.rate));
  put32(format, static_cast<uint32_t>(shape.rate * blockAlign));
  put16(format, static_cast<uint32_t>(blockAlign));
  put16(format, static_cast<uint32_t>(shape.bits));
  std::vector<uint8_t> body = {'W', 'A', 'V', 'E'};
  for (const auto& part : {chunk("fmt ", format), before, chunk("data", data), after}) {
    body.insert(body.end(), part.begin(), part.end());
  }
  std::vector<uint8_t> file = {'R', 'I', 'F', 'F'};
  put32(file, static_cast<uint32_t>(body.size()));
  file.insert(file.end(), body.begin(), body.end());
  return file;
}

bool waitForConversion(double seconds) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
  while (encoderGetProgress(nullptr, nullptr) != 0) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  return true;
}

int32_t encodeFile(const std::string& source, const std::string& destination) {
  EncoderSourceInfo info{};
  if (encoderOpenSource(source.c_str(), &info) != 1) return -100 - engineGetStatus();
  if (encoderStart(destination.c_str()) != 1) return -100 - engineGetStatus();
  if (!waitForConversion()) return -99;
  return encoderGetResult();
}

std::vector<std::string> filesIn(const std::string& dir) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(dir)) names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace orva::test
