// Hooks for the engine's tests and fuzz harnesses only; hosts never see them
// (they are not part of orva_engine.h).
#pragma once

namespace orva {

// Open, close and shut-down sleep to let playback let go of the file; tests
// that open thousands of files switch the sleeps off.
void setEngineSleepsForTesting(bool enabled);

}  // namespace orva
