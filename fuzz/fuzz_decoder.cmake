orva_fuzz(fuzz_decoder SOURCES fuzz_decoder.cpp LIBS orva_decoder
  SEEDS ${ORVA_SOURCE_DIR_FOR_TESTS}/tests/decoder/data)
