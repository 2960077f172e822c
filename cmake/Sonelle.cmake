# Helpers shared by every directory.

# sonelle_add_test(<name> SOURCES <files...> [LIBS <targets...>] [TIMEOUT <s>] [LABELS <l...>]
#                  [LOCKS <resource...>])
# One GoogleTest program, one ctest entry, run under Wine through the emulator.
# Programs that name the same lock never run side by side.
function(sonelle_add_test name)
  cmake_parse_arguments(T "" "TIMEOUT" "SOURCES;LIBS;LABELS;LOCKS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest_main GTest::gmock)
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 300)
  endif()
  add_test(NAME ${name} COMMAND ${name} --gtest_brief=1
           WORKING_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
  set_tests_properties(${name} PROPERTIES TIMEOUT ${T_TIMEOUT})
  if(T_LABELS)
    set_tests_properties(${name} PROPERTIES LABELS "${T_LABELS}")
  endif()
  if(T_LOCKS)
    set_tests_properties(${name} PROPERTIES RESOURCE_LOCK "${T_LOCKS}")
  endif()
endfunction()

# sonelle_filter_module(<name> <sources...>): a DirectShow filter DLL (.ax).
function(sonelle_filter_module name)
  add_library(${name} SHARED ${ARGN})
  set_target_properties(${name} PROPERTIES PREFIX "" SUFFIX ".ax")
  target_link_options(${name} PRIVATE -Wl,--kill-at)
endfunction()

# sonelle_native_oracle(<test> [MAKE <command...>] [CHECK <args...>])
# Native steps around a Wine test program (a Unix program started from Wine cannot
# be waited on): before it, its fixture folder is emptied and the MAKE command
# (sox, lame, mutagen) fills it; after it, tools/oracle/check-mp3.py checks the
# files the program listed there. The program finds the folder in SONELLE_FIXTURES.
function(sonelle_native_oracle test)
  cmake_parse_arguments(O "" "" "MAKE;CHECK" ${ARGN})
  set(dir ${CMAKE_BINARY_DIR}/fixtures/${test})
  add_test(NAME ${test}_inputs COMMAND /bin/bash ${CMAKE_SOURCE_DIR}/tools/oracle/fresh-folder.sh ${dir} ${O_MAKE})
  add_test(NAME ${test}_oracle COMMAND /usr/bin/python3 ${CMAKE_SOURCE_DIR}/tools/oracle/check-mp3.py ${dir} ${O_CHECK})
  set_tests_properties(${test}_inputs PROPERTIES FIXTURES_SETUP ${test}_files)
  set_tests_properties(${test}_oracle PROPERTIES FIXTURES_CLEANUP ${test}_files)
  set_tests_properties(${test} PROPERTIES FIXTURES_REQUIRED ${test}_files ENVIRONMENT SONELLE_FIXTURES=${dir})
endfunction()
