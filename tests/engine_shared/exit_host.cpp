// A host that starts playback through the shared library and leaves main
// without engineShutdown, as a careless host would. Started by
// test_host_exit.cpp, which judges its exit status and output.
// Arguments: library path, audio file, silent|system, play|pause|end (the
// last lets the track end by itself, so no call joins the finished thread).
// Exit status: 0 after leaving main; 20 when the system has no sound
// device; 10-15 when the set-up failed.
#include <chrono>
#include <cstdio>
#include <cstring>
#include <thread>

#include "tests/engine_shared/engine_entries.h"

int main(int argc, char** argv) {
  using orva::test::EngineEntries;
  using orva::test::SharedEngine;
  if (argc != 5) return 10;
  SharedEngine engine(argv[1]);
  if (!engine.loaded()) return 11;
  const EngineEntries e(engine);
  if (!e.complete()) return 12;
  e.init();
  if (std::strcmp(argv[3], "silent") == 0) e.setDevice(ENGINE_DEVICE_SILENT);
  StreamInfo info{};
  if (e.open(argv[2], &info) != 1) return 13;
  if (e.play() != 1) return e.status() == ENGINE_ERR_DEVICE_OPEN ? 20 : 14;
  if (std::strcmp(argv[4], "pause") == 0) e.pause();
  if (std::strcmp(argv[4], "end") == 0) {
    e.seekSeconds(11);  // of 12
    int32_t polls = 0;
    while (e.getState(nullptr) != ENGINE_STOPPED && ++polls < 1000) {
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    if (polls == 1000) return 15;
  }
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  engine.keepLoaded();
  std::printf("leaving main\n");
  std::fflush(stdout);
  return 0;
}
