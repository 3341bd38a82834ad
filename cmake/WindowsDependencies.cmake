# The Windows build's libraries, as scripts/windows-deps builds them into ZELGORA_WINDOWS_DEPS:
# SDL2 and libepoxy as DLLs, the satellites, freetype and harfbuzz linked in; linked by full
# path, so that -static (no C++ or threads runtime DLL beside the game) cannot pick SDL2's
# static library.
set(ZELGORA_WINDOWS_DEPS "" CACHE PATH
  "Prefix of the Windows build's libraries (scripts/windows-deps)")
set(deps ${ZELGORA_WINDOWS_DEPS})
foreach(f lib/libSDL2.dll.a lib/libSDL2main.a lib/libharfbuzz.a lib/libpng16.a lib/libepoxy.dll.a)
  if(NOT EXISTS "${deps}/${f}")
    message(FATAL_ERROR "ZELGORA_WINDOWS_DEPS (${deps}) holds no ${f}: "
      "build it with scripts/windows-deps")
  endif()
endforeach()

add_library(zelgora_windows_sdl INTERFACE)
target_include_directories(zelgora_windows_sdl SYSTEM BEFORE INTERFACE
  ${deps}/include/SDL2 ${deps}/include)
# Satellites before what they use.
target_link_libraries(zelgora_windows_sdl INTERFACE
  ${deps}/lib/libSDL2_ttf.a ${deps}/lib/libharfbuzz.a ${deps}/lib/libfreetype.a
  ${deps}/lib/libSDL2_image.a ${deps}/lib/libpng16.a ${deps}/lib/libz.a
  ${deps}/lib/libSDL2_mixer.a ${deps}/lib/libSDL2.dll.a)
foreach(name SDL2 SDL2_TTF SDL2_MIXER SDL2_IMAGE)
  add_library(PkgConfig::${name} ALIAS zelgora_windows_sdl)
endforeach()
add_library(zelgora_windows_epoxy INTERFACE)
target_link_libraries(zelgora_windows_epoxy INTERFACE ${deps}/lib/libepoxy.dll.a)
add_library(PkgConfig::EPOXY ALIAS zelgora_windows_epoxy)

# SDL's WinMain hands main() its arguments in UTF-8, from the wide command line.
add_library(zelgora_windows_main INTERFACE)
target_link_libraries(zelgora_windows_main INTERFACE mingw32 ${deps}/lib/libSDL2main.a)

# The DLLs go beside the programs, in the build tree too, where every program and test lies.
set(ZELGORA_WINDOWS_DLLS ${deps}/bin/SDL2.dll ${deps}/bin/libepoxy-0.dll)
set(CMAKE_RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
foreach(dll ${ZELGORA_WINDOWS_DLLS})
  configure_file(${dll} ${CMAKE_BINARY_DIR} COPYONLY)
endforeach()

set(GTest_DIR ${deps}/lib/cmake/GTest CACHE PATH "GoogleTest cross-built for Windows")

set(ZELGORA_NATIVE_EXTRA_FILES icons/zelgora-256.png)
include(cmake/CrossBuild.cmake)

# The C++ and threads runtimes go into each program.
add_link_options(-static-libgcc -static-libstdc++ -static)
