# The play list's M3U text and the player's settings file.
orva_fuzz(fuzz_playlist_m3u SOURCES fuzz_playlist_m3u.cpp LIBS orva_playlist
  SEEDS ${CMAKE_CURRENT_SOURCE_DIR}/seeds/playlist)
orva_fuzz(fuzz_settings SOURCES fuzz_settings.cpp LIBS orva_shell_rules
  SEEDS ${CMAKE_CURRENT_SOURCE_DIR}/seeds/playlist)
