# The encoder's source walk over arbitrary file contents; seeds are small
# PCM WAVE files with chunks before and after the audio.
orva_fuzz(fuzz_encoder_source SOURCES fuzz_encoder_source.cpp LIBS orva_engine
  SEEDS ${CMAKE_CURRENT_SOURCE_DIR}/seeds/encoder)
