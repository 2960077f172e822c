# Helpers shared by every directory.

# sonelle_add_test(<name> SOURCES <files...> [LIBS <targets...>] [TIMEOUT <s>] [LABELS <l...>]
#                  [LOCKS <resource...>])
# One GoogleTest program, one ctest entry, run under Wine through the emulator.
# Programs that name the same lock never run side by side.
function(sonelle_add_test name)
  cmake_parse_arguments(T "" "TIMEOUT" "SOURCES;LIBS;LABELS;LOCKS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest_main GTest::gmock)
  if(SONELLE_TEST_PCH)
    sonelle_test_pch_target()
    target_precompile_headers(${name} REUSE_FROM sonelle_test_pch)
    # From a precompiled header GCC loses that the standard library's inlined
    # copies are system code, and warns about its own string internals there.
    target_compile_options(${name} PRIVATE -Wno-array-bounds -Wno-stringop-overflow -Wno-stringop-overread)
  endif()
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

# GoogleTest's header and the Windows headers take most of a test file's compile
# time; every test program includes them from one precompiled header.
option(SONELLE_TEST_PCH "Test programs share a precompiled header" ON)
function(sonelle_test_pch_target)
  if(TARGET sonelle_test_pch)
    return()
  endif()
  set(source ${CMAKE_BINARY_DIR}/sonelle_test_pch.cpp)
  if(NOT EXISTS ${source})
    file(WRITE ${source} "// The owner of the test programs' precompiled header.\n")
  endif()
  add_library(sonelle_test_pch STATIC ${source})
  target_link_libraries(sonelle_test_pch PRIVATE GTest::gtest GTest::gmock)
  target_precompile_headers(sonelle_test_pch PRIVATE
    <gtest/gtest.h> <windows.h> <algorithm> <atomic> <functional> <string> <thread> <vector>)
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

# sonelle_component(<target> <CLSID_name>): a filter module the installation's
# component list ("kelvrodata.bin") names, with the class id of interfaces/.
function(sonelle_component target clsid_name)
  set_property(GLOBAL APPEND PROPERTY SONELLE_COMPONENTS "${target}:${clsid_name}")
endfunction()

# The braced text of a class id defined with DEFINE_GUID in interfaces/.
function(sonelle_clsid_text clsid_name out)
  file(GLOB headers ${CMAKE_SOURCE_DIR}/interfaces/*.h)
  foreach(header ${headers})
    file(READ ${header} source)
    string(REGEX MATCH "DEFINE_GUID\\(${clsid_name},([^)]*)\\)" found "${source}")
    if(found)
      string(REGEX REPLACE "[ \t\r\n]" "" numbers "${CMAKE_MATCH_1}")
      string(REPLACE "," ";" numbers "${numbers}")
      set(digits)
      set(widths 8 4 4 2 2 2 2 2 2 2 2)
      foreach(i RANGE 10)
        list(GET numbers ${i} number)
        list(GET widths ${i} width)
        string(REGEX REPLACE "^0[xX]" "" hex "${number}")
        string(TOUPPER "${hex}" hex)
        string(LENGTH "${hex}" length)
        while(length LESS width)
          set(hex "0${hex}")
          math(EXPR length "${length} + 1")
        endwhile()
        list(APPEND digits ${hex})
      endforeach()
      list(GET digits 0 d0)
      list(GET digits 1 d1)
      list(GET digits 2 d2)
      list(SUBLIST digits 3 2 d3)
      list(SUBLIST digits 5 6 d4)
      string(JOIN "" d3 ${d3})
      string(JOIN "" d4 ${d4})
      set(${out} "{${d0}-${d1}-${d2}-${d3}-${d4}}" PARENT_SCOPE)
      return()
    endif()
  endforeach()
  message(FATAL_ERROR "No class id ${clsid_name} in interfaces/")
endfunction()

# Writes the component list of every module declared with sonelle_component, so
# it names only modules this build makes.
function(sonelle_write_component_list output)
  get_property(components GLOBAL PROPERTY SONELLE_COMPONENTS)
  set(content "")
  foreach(entry ${components})
    string(REPLACE ":" ";" pair "${entry}")
    list(GET pair 0 target)
    list(GET pair 1 clsid_name)
    sonelle_clsid_text(${clsid_name} text)
    string(APPEND content "[name] \"$<TARGET_FILE_NAME:${target}>\" [type] \"filter\" [guid] \"${text}\"\r\n")
  endforeach()
  file(GENERATE OUTPUT ${output} CONTENT "${content}")
endfunction()

# sonelle_add_products_target(<name>): a target that builds every program and
# DLL outside the tests/, bench/ and tools/ folders (and the static libraries
# they link), so a new product joins it without being listed.
function(sonelle_add_products_target name)
  set(products)
  set(dirs ${CMAKE_SOURCE_DIR})
  while(dirs)
    list(POP_FRONT dirs dir)
    if(dir MATCHES "/(tests|bench)$" OR dir MATCHES "^${CMAKE_SOURCE_DIR}/tools(/|$)")
      continue()
    endif()
    get_property(targets DIRECTORY ${dir} PROPERTY BUILDSYSTEM_TARGETS)
    foreach(target ${targets})
      get_target_property(type ${target} TYPE)
      if(type MATCHES "^(EXECUTABLE|SHARED_LIBRARY|MODULE_LIBRARY)$")
        list(APPEND products ${target})
      endif()
    endforeach()
    get_property(subdirs DIRECTORY ${dir} PROPERTY SUBDIRECTORIES)
    foreach(sub ${subdirs})
      if(sub MATCHES "^${CMAKE_SOURCE_DIR}/")
        list(APPEND dirs ${sub})
      endif()
    endforeach()
  endwhile()
  add_custom_target(${name})
  add_dependencies(${name} ${products})
  list(JOIN products " " text)
  message(STATUS "Products: ${text}")
endfunction()
