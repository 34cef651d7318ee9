// Storage of the engine record and the two helpers every engine file uses.
#include "engine/engine_state.h"

#include "engine/engine_testing.h"
#include "engine/status_register.h"
#include "platform/sleep.h"

namespace orva {

EngineRecord gEngine;

int32_t engineFail(int32_t status) {
  setStatus(status);
  return 0;
}

void engineSleep(int32_t milliseconds) {
  if (gEngine.sleepsEnabled) platform::sleepMs(milliseconds);
}

void setEngineSleepsForTesting(bool enabled) { gEngine.sleepsEnabled = enabled; }

}  // namespace orva
