# Cross-compiling for 64-bit Windows with MinGW-w64 (posix threads: Qt and
# std::thread need them). QT_MINGW_PREFIX and GTEST_MINGW_PREFIX, where set,
# are searched for Qt and GoogleTest built for Windows.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)

set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
foreach(prefix IN ITEMS "$ENV{QT_MINGW_PREFIX}" "$ENV{GTEST_MINGW_PREFIX}")
  if(prefix)
    list(APPEND CMAKE_FIND_ROOT_PATH "${prefix}")
    list(APPEND CMAKE_PREFIX_PATH "${prefix}")
  endif()
endforeach()
# Qt's own tools (moc, rcc, uic) are the host's, of the same version.
if(DEFINED ENV{QT_MINGW_PREFIX})
  set(QT_HOST_PATH /usr)
  set(QT_HOST_PATH_CMAKE_DIR /usr/lib/x86_64-linux-gnu/cmake)
endif()
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# ctest runs the tests (and test discovery runs the binaries) under Wine.
set(CMAKE_CROSSCOMPILING_EMULATOR wine)

# Our programs carry the MinGW runtime inside: no libstdc++-6.dll (24 MB),
# libgcc_s_seh-1.dll, libwinpthread-1.dll or libssp-0.dll for them. The
# stack protector the compile options ask for needs its library at link
# time. Qt itself is built with the shared runtime (qt.sh says so).
if(NOT TARVOK_MINGW_SHARED_RUNTIME)
  set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -fstack-protector")
endif()

# GCC 12 for MinGW stops with an internal compiler error (its SEH unwind
# output) on -fstack-clash-protection; Windows probes each new stack page
# itself (___chkstk_ms). The answer of the project's flag check is given here.
set(tarvok_has_fstack_clash_protection OFF CACHE BOOL "-fstack-clash-protection breaks MinGW GCC 12")
