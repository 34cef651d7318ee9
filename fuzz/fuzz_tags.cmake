# The tag parsers' fuzz targets; seeds are small hand-made file images.
orva_fuzz(fuzz_tags_riff SOURCES fuzz_tags_riff.cpp LIBS orva_tags
  SEEDS ${CMAKE_CURRENT_SOURCE_DIR}/seeds/tags)
orva_fuzz(fuzz_tags_id3 SOURCES fuzz_tags_id3.cpp LIBS orva_tags
  SEEDS ${CMAKE_CURRENT_SOURCE_DIR}/seeds/tags)
orva_fuzz(fuzz_tags_lyrics SOURCES fuzz_tags_lyrics.cpp LIBS orva_tags
  SEEDS ${CMAKE_CURRENT_SOURCE_DIR}/seeds/tags)
orva_fuzz(fuzz_tags_info SOURCES fuzz_tags_info.cpp LIBS orva_tags
  SEEDS ${CMAKE_CURRENT_SOURCE_DIR}/seeds/tags)
orva_fuzz(fuzz_tags_id3v2 SOURCES fuzz_tags_id3v2.cpp LIBS orva_tags
  SEEDS ${CMAKE_CURRENT_SOURCE_DIR}/seeds/tags)
