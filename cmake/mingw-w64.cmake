# Cross-compiles for 64-bit Windows with Debian's MinGW-w64 (POSIX threads) compilers:
#   cmake -S . -B build-windows -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake
# The executables link the C and C++ runtimes statically, so they run without DLLs
# beside them (under Wine as on Windows).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(MESHWRIGHT_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${MESHWRIGHT_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${MESHWRIGHT_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${MESHWRIGHT_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${MESHWRIGHT_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

# Tests and test discovery run the .exe files through Wine.
find_program(MESHWRIGHT_WINE wine)
if(MESHWRIGHT_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${MESHWRIGHT_WINE})
endif()
