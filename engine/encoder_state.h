// The encoder's operations behind the four encoder entry points (and the
// engine's set-up and clean-up). Host's thread. Each returns ENGINE_OK or
// the status code of the failure; the entry points set the register.
#pragma once

#include <cstdint>

#include "orva_engine.h"

namespace orva::encoder {

void encoderSetUp();    // engineInit: also ends a conversion left running
void encoderCleanUp();  // engineShutdown: stops and waits for a conversion

int32_t openSource(const char* path, EncoderSourceInfo& info);
int32_t startConversion(const char* destination);
int32_t abortConversion();
// Writes the progress counters; returns the running flag.
int32_t conversionProgress(int32_t* bytesRead, int32_t* bytesWritten);
int32_t lastConversionResult();

}  // namespace orva::encoder
