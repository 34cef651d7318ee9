# The engine's open over arbitrary file contents; seeds are small hand-made
# streams (plain MPEG, Xing, Info, ID3v2, tags, RIFF WAVE with MPEG and PCM).
orva_fuzz(fuzz_engine_open SOURCES fuzz_engine_open.cpp LIBS orva_engine
  SEEDS ${CMAKE_CURRENT_SOURCE_DIR}/seeds/engine)
