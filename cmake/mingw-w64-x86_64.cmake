# Cross build for 64-bit Windows with Debian's MinGW-w64 (POSIX threads, for
# std::thread and std::mutex). The programs are linked statically, so the
# .exe files run on Windows or under Wine without the MinGW DLLs beside them;
# wine runs them when CTest or GoogleTest's discovery needs to.
#
#   cmake -S . -B build-windows -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
#         -DORVANE_GUI=OFF -DORVANE_BENCH=OFF
#
# The editor too: tools/windows-package.sh.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)

set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The editor's build (tools/windows-package.sh) links Qt's DLLs, which use
# MinGW's runtime DLLs: its programs share them (-DORVANE_STATIC_RUNTIME=OFF)
# and find Qt for Windows in ORVANE_WINDOWS_QT (tools/windows-qt.sh).
if(NOT DEFINED ORVANE_STATIC_RUNTIME OR ORVANE_STATIC_RUNTIME)
  set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
endif()
if(ORVANE_WINDOWS_QT)
  list(APPEND CMAKE_FIND_ROOT_PATH ${ORVANE_WINDOWS_QT})
  list(APPEND CMAKE_PREFIX_PATH ${ORVANE_WINDOWS_QT})
endif()

find_program(ORVANE_WINE NAMES wine wine64)
if(ORVANE_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${ORVANE_WINE})
endif()

# No GoogleTest is installed for MinGW: build it from Debian's sources.
set(ORVANE_GTEST_SOURCE_DIR /usr/src/googletest CACHE PATH "GoogleTest sources built with the project")
