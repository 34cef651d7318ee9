orva_fuzz(fuzz_frame_header SOURCES fuzz_frame_header.cpp LIBS orva_decoder)
