# Cross-compiling the Windows programs with Debian's MinGW-w64, its -win32
# compilers: their runtime, linked in, imports only what Windows XP has (the
# -posix ones' winpthreads imports GetTickCount64, which XP lacks).
# PP_WINDOWS_TRIPLET: x86_64-w64-mingw32 (x64) or i686-w64-mingw32 (x86).
set(CMAKE_TRY_COMPILE_PLATFORM_VARIABLES PP_WINDOWS_TRIPLET)
if(NOT PP_WINDOWS_TRIPLET MATCHES "^(x86_64|i686)-w64-mingw32$")
  message(FATAL_ERROR "PP_WINDOWS_TRIPLET is x86_64-w64-mingw32 or i686-w64-mingw32")
endif()
set(CMAKE_SYSTEM_NAME Windows)
string(REGEX REPLACE "-.*" "" CMAKE_SYSTEM_PROCESSOR "${PP_WINDOWS_TRIPLET}")
set(CMAKE_C_COMPILER ${PP_WINDOWS_TRIPLET}-gcc-win32)
set(CMAKE_CXX_COMPILER ${PP_WINDOWS_TRIPLET}-g++-win32)
set(CMAKE_RC_COMPILER ${PP_WINDOWS_TRIPLET}-windres)
list(APPEND CMAKE_FIND_ROOT_PATH /usr/${PP_WINDOWS_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# Each function and datum in a section of its own, and the linker keeps only
# those used: the runtimes linked in weigh less.
set(CMAKE_C_FLAGS_INIT "-ffunction-sections -fdata-sections")
set(CMAKE_CXX_FLAGS_INIT "-ffunction-sections -fdata-sections")
set(CMAKE_EXE_LINKER_FLAGS_INIT "-Wl,--gc-sections")
