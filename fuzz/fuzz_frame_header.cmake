orva_fuzz(fuzz_frame_header SOURCES fuzz_frame_header.cpp LIBS orva_decoder)
if(NOT ORVA_FUZZ)
  # Small encoder-made streams whose first frame is an "Info" or "Xing"
  # header with the encoder's delay and padding, besides the demo stream.
  add_test(NAME fuzz_frame_header_gap_smoke
    COMMAND fuzz_frame_header --runs=2000 ${CMAKE_CURRENT_SOURCE_DIR}/seeds/frame_header)
  set_tests_properties(fuzz_frame_header_gap_smoke PROPERTIES TIMEOUT 600)
endif()
