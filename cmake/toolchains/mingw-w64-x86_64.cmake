# Windows (64-bit) with Debian's mingw-w64 cross compiler (g++-mingw-w64-x86-64):
#   cmake -S . -B build-windows -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/toolchains/mingw-w64-x86_64.cmake
# The posix flavour of the compiler has std::thread (the play-log sender's
# look-ups use it). Programs are linked statically, so a .exe runs on Windows
# (and under Wine) without the compiler's DLLs beside it.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(BRIMBLE_MINGW x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${BRIMBLE_MINGW}-gcc-posix)
set(CMAKE_CXX_COMPILER ${BRIMBLE_MINGW}-g++-posix)
set(CMAKE_RC_COMPILER ${BRIMBLE_MINGW}-windres)
# Libraries for mingw (SDL2 and its companions, when built) may live under
# BRIMBLE_WINDOWS_PREFIX beside the compiler's own.
set(CMAKE_FIND_ROOT_PATH /usr/${BRIMBLE_MINGW} ${BRIMBLE_WINDOWS_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
# pkg-config must see the mingw libraries only, never the host's.
set(ENV{PKG_CONFIG_LIBDIR} "${BRIMBLE_WINDOWS_PREFIX}/lib/pkgconfig:/usr/${BRIMBLE_MINGW}/lib/pkgconfig")
set(ENV{PKG_CONFIG_PATH} "")
