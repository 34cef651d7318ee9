// The analyser's entry points: the output subsystem does the work.
#include "orva_engine.h"
#include "output/analyser.h"

int32_t engineSetAnalyserMode(int32_t mode) noexcept { return orva::analyserSetMode(mode); }

int32_t engineGetSpectrum(int32_t* left256, int32_t* right256) noexcept {
  return orva::analyserGetSpectrum(left256, right256);
}

int32_t engineGetWaveform(int32_t* left256, int32_t* right256) noexcept {
  return orva::analyserGetWaveform(left256, right256);
}
