# orva_test(NAME SOURCES files... LIBS libs...)
# One GoogleTest executable, registered with CTest. In the cross build CTest
# runs it through the emulator (Wine).
function(orva_test name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} orva_test_support GTest::gtest GTest::gtest_main orva_warnings)
  add_test(NAME ${name} COMMAND ${name} --gtest_brief=1)
  set_tests_properties(${name} PROPERTIES TIMEOUT 600)
endfunction()

# orva_fuzz(NAME SOURCES files... LIBS libs... SEEDS dir)
# With ORVA_FUZZ (clang) the target links libFuzzer; otherwise it links a
# small driver that replays seed files and pseudo-random inputs, so every
# build runs each harness once as a smoke test.
function(orva_fuzz name)
  cmake_parse_arguments(F "" "SEEDS" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${F_SOURCES})
  target_link_libraries(${name} PRIVATE ${F_LIBS} orva_warnings)
  if(ORVA_FUZZ)
    target_compile_options(${name} PRIVATE -fsanitize=fuzzer)
    target_link_options(${name} PRIVATE -fsanitize=fuzzer)
  else()
    target_link_libraries(${name} PRIVATE orva_fuzz_driver)
    set(seed_dir "${F_SEEDS}")
    if(NOT seed_dir)
      set(seed_dir "${ORVA_SOURCE_DIR_FOR_TESTS}/samples")
    endif()
    add_test(NAME ${name}_smoke COMMAND ${name} --runs=2000 ${seed_dir})
    set_tests_properties(${name}_smoke PROPERTIES TIMEOUT 600)
  endif()
endfunction()

# orva_japanese_texts(target)
# The target's string literals hold Japanese texts written in UTF-8; on
# Windows they must become cp932 bytes. Only such targets get the flag:
# parts of the standard library (<chrono>) hold characters cp932 lacks.
function(orva_japanese_texts target)
  if(WIN32)
    target_compile_options(${target} PRIVATE -finput-charset=UTF-8 -fexec-charset=CP932)
  endif()
endfunction()
