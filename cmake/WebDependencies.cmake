# The browser build's libraries: SDL2 and its satellites as built by scripts/web-deps into
# ZELGORA_WEB_DEPS, linked by full path (naming them would start emscripten's port download),
# and the header-only JSON and command-line libraries from the host, seen through a folder of
# their own so that the host's C headers stay out of the include path.
set(ZELGORA_WEB_DEPS "" CACHE PATH "Prefix of the web build's SDL2 libraries (scripts/web-deps)")
if(NOT EXISTS "${ZELGORA_WEB_DEPS}/lib/libharfbuzz.a")
  message(FATAL_ERROR "ZELGORA_WEB_DEPS (${ZELGORA_WEB_DEPS}) holds no lib/libharfbuzz.a: "
    "build it with scripts/web-deps")
endif()

add_library(zelgora_web_sdl INTERFACE)
target_include_directories(zelgora_web_sdl SYSTEM BEFORE INTERFACE
  ${ZELGORA_WEB_DEPS}/include/SDL2 ${ZELGORA_WEB_DEPS}/include)
# Satellites before what they use.
target_link_libraries(zelgora_web_sdl INTERFACE
  ${ZELGORA_WEB_DEPS}/lib/libSDL2_ttf.a ${ZELGORA_WEB_DEPS}/lib/libharfbuzz.a
  ${ZELGORA_WEB_DEPS}/lib/libfreetype.a
  ${ZELGORA_WEB_DEPS}/lib/libSDL2_image.a ${ZELGORA_WEB_DEPS}/lib/libSDL2_mixer.a
  ${ZELGORA_WEB_DEPS}/lib/libSDL2.a)
foreach(name SDL2 SDL2_TTF SDL2_MIXER SDL2_IMAGE)
  add_library(PkgConfig::${name} ALIAS zelgora_web_sdl)
endforeach()

set(host_include ${CMAKE_BINARY_DIR}/host-include)
file(MAKE_DIRECTORY ${host_include})
foreach(dir nlohmann CLI)
  if(NOT EXISTS /usr/include/${dir})
    message(FATAL_ERROR "/usr/include/${dir} not found: install nlohmann-json3-dev libcli11-dev")
  endif()
  file(CREATE_LINK /usr/include/${dir} ${host_include}/${dir} SYMBOLIC)
endforeach()
add_library(zelgora_host_headers INTERFACE)
target_include_directories(zelgora_host_headers SYSTEM INTERFACE ${host_include})
add_library(nlohmann_json::nlohmann_json ALIAS zelgora_host_headers)
add_library(CLI11::CLI11 ALIAS zelgora_host_headers)

# The generated sounds and pictures come from a native build: their generators run there.
set(ZELGORA_NATIVE_BUILD "" CACHE PATH
  "Native build folder that made generated/StoredWavesData.cpp and Bitmaps/")
foreach(f generated/StoredWavesData.cpp Bitmaps/SetupBars.dxg)
  if(NOT EXISTS "${ZELGORA_NATIVE_BUILD}/${f}")
    message(FATAL_ERROR "ZELGORA_NATIVE_BUILD (${ZELGORA_NATIVE_BUILD}) holds no ${f}: build the "
      "native targets zelgora_waves and zelgora_artwork first (scripts/web does)")
  endif()
endforeach()

# JavaScript's exceptions carry the C++ ones; the code reports errors by throwing.
add_compile_options(-fexceptions)
add_link_options(-fexceptions)
