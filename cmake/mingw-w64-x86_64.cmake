# Cross build for 64-bit Windows with Debian's MinGW-w64 (g++-mingw-w64-x86-64-posix):
#   cmake -S . -B build-windows -G Ninja --toolchain cmake/mingw-w64-x86_64.cmake -DARKALUNE_IHM=OFF
# The posix threads variant: the load's workers are std::thread.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(triplet x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${triplet}-gcc-posix)
set(CMAKE_CXX_COMPILER ${triplet}-g++-posix)
set(CMAKE_RC_COMPILER ${triplet}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${triplet})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# printf and snprintf from MinGW's own C99 implementation, not the system's msvcrt: the same
# text for %zu, %lld and every double as on Linux.
add_compile_definitions(__USE_MINGW_ANSI_STDIO=1)
# off_t and fseeko on 64 bits, as on Linux: scans are often larger than 2 GB.
add_compile_definitions(_FILE_OFFSET_BITS=64)
# Self-contained programs: no runtime DLL to carry beside the .exe (libgcc, libstdc++,
# winpthread linked in).
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

# The tests run under Wine on Linux.
find_program(ARKALUNE_WINE NAMES wine wine64)
if(ARKALUNE_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${ARKALUNE_WINE})
endif()
