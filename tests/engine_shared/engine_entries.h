// The entry points the shared-library hosts use, looked up by name.
#pragma once

#include "orva_engine.h"
#include "tests/engine_shared/shared_engine.h"

namespace orva::test {

struct EngineEntries {
  explicit EngineEntries(const SharedEngine& engine)
      : init(engine.entry<int32_t (*)()>("engineInit")),
        shutdown(engine.entry<int32_t (*)()>("engineShutdown")),
        status(engine.entry<int32_t (*)()>("engineGetStatus")),
        systemErrorText(engine.entry<int32_t (*)(char*, int32_t)>("engineGetSystemErrorText")),
        setDevice(engine.entry<int32_t (*)(int32_t)>("engineSetDevice")),
        open(engine.entry<int32_t (*)(const char*, StreamInfo*)>("engineOpen")),
        close(engine.entry<int32_t (*)()>("engineClose")),
        play(engine.entry<int32_t (*)()>("enginePlay")),
        pause(engine.entry<int32_t (*)()>("enginePause")),
        stop(engine.entry<int32_t (*)()>("engineStop")),
        seekSeconds(engine.entry<int32_t (*)(int32_t)>("engineSeekSeconds")),
        getState(engine.entry<int32_t (*)(int32_t*)>("engineGetState")),
        positionSamples(engine.entry<int32_t (*)()>("engineGetPositionSamples")) {}

  bool complete() const {
    return init && shutdown && status && systemErrorText && setDevice && open && close && play && pause && stop &&
           seekSeconds && getState && positionSamples;
  }

  int32_t (*init)();
  int32_t (*shutdown)();
  int32_t (*status)();
  int32_t (*systemErrorText)(char*, int32_t);
  int32_t (*setDevice)(int32_t);
  int32_t (*open)(const char*, StreamInfo*);
  int32_t (*close)();
  int32_t (*play)();
  int32_t (*pause)();
  int32_t (*stop)();
  int32_t (*seekSeconds)(int32_t);
  int32_t (*getState)(int32_t*);
  int32_t (*positionSamples)();
};

}  // namespace orva::test
