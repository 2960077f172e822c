# Cross toolchain: Windows programs built with MinGW-w64 (posix threads).
# SONELLE_ARCH is i686 (the product's 32-bit programs) or x86_64 (the same code for
# machines whose Wine cannot run 32-bit code; see scripts/env.sh).
set(CMAKE_SYSTEM_NAME Windows)
if(NOT SONELLE_ARCH)
  set(SONELLE_ARCH i686)
endif()
set(SONELLE_ARCH ${SONELLE_ARCH} CACHE STRING "i686 or x86_64")
set(CMAKE_SYSTEM_PROCESSOR ${SONELLE_ARCH})
set(TOOLCHAIN_PREFIX ${SONELLE_ARCH}-w64-mingw32)

set(CMAKE_C_COMPILER   ${TOOLCHAIN_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TOOLCHAIN_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER  ${TOOLCHAIN_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${TOOLCHAIN_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

# Tests and helper programs run under Wine.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run.sh)
