# Cross-builds for 64-bit Windows with Debian's mingw-w64. The -posix compilers: the win32
# thread model has no std::thread or std::mutex. Libraries are looked for in the target's
# folders and in ZELGORA_WINDOWS_DEPS (scripts/windows-deps), programs on the host.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(ZELGORA_MINGW x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${ZELGORA_MINGW}-gcc-posix)
set(CMAKE_CXX_COMPILER ${ZELGORA_MINGW}-g++-posix)
set(CMAKE_RC_COMPILER ${ZELGORA_MINGW}-windres)
set(CMAKE_TRY_COMPILE_PLATFORM_VARIABLES ZELGORA_WINDOWS_DEPS)
set(CMAKE_FIND_ROOT_PATH /usr/${ZELGORA_MINGW} ${ZELGORA_WINDOWS_DEPS})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# Tests of the build run under Wine (64-bit; wine64 without wine32 is the Debian default).
find_program(ZELGORA_WINE NAMES wine)
if(ZELGORA_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${ZELGORA_WINE})
endif()
