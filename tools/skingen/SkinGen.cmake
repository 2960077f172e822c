# The skin picture generator: a small host program, built with the host's own
# C++ compiler, that draws the skin bitmaps at build time (no binary files are
# kept in the sources). sonelle_skin_set(<set> <rc-var>) generates one set into
# the current binary directory and returns the path of its resource script.
include_guard(GLOBAL)

find_program(SONELLE_HOST_CXX NAMES g++ c++ clang++ REQUIRED)
set(SONELLE_SKINGEN ${CMAKE_BINARY_DIR}/host/skingen CACHE INTERNAL "the host skin generator")
file(GLOB SONELLE_SKINGEN_SOURCES CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/*.cpp)
file(GLOB SONELLE_SKINGEN_HEADERS CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/*.h)
add_custom_command(
  OUTPUT ${SONELLE_SKINGEN}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/host
  COMMAND ${SONELLE_HOST_CXX} -std=c++17 -O1 -o ${SONELLE_SKINGEN} ${SONELLE_SKINGEN_SOURCES}
  DEPENDS ${SONELLE_SKINGEN_SOURCES} ${SONELLE_SKINGEN_HEADERS}
          ${CMAKE_SOURCE_DIR}/skin/SkinIds.h ${CMAKE_SOURCE_DIR}/skin/tests/TestSkin.h
          ${CMAKE_SOURCE_DIR}/recorder/MainWindowSkinIds.h
  COMMENT "Building the skin picture generator (host)")
add_custom_target(skingen DEPENDS ${SONELLE_SKINGEN})

function(sonelle_skin_set set rcvar)
  set(dir ${CMAKE_CURRENT_BINARY_DIR}/skin-${set})
  set(rc ${dir}/${set}.rc)
  add_custom_command(
    OUTPUT ${rc}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${dir}
    COMMAND ${SONELLE_SKINGEN} ${set} ${dir}
    DEPENDS skingen ${SONELLE_SKINGEN}
    COMMENT "Drawing the ${set} skin pictures")
  set(${rcvar} ${rc} PARENT_SCOPE)
endfunction()

# sonelle_resource_module(<name> <rc files...>): a resource-only DLL.
function(sonelle_resource_module name)
  add_library(${name} SHARED ${ARGN})
  set_target_properties(${name} PROPERTIES PREFIX "" LINKER_LANGUAGE C)
  target_link_options(${name} PRIVATE -nostdlib -nostartfiles -Wl,-e,0)
endfunction()
