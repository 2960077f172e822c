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
