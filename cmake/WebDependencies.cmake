# The browser build's libraries: SDL2 and its satellites as built by scripts/web-deps into
# ZELGORA_WEB_DEPS, linked by full path (naming them would start emscripten's port download).
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

include(cmake/CrossBuild.cmake)

# JavaScript's exceptions carry the C++ ones; the code reports errors by throwing.
add_compile_options(-fexceptions)
add_link_options(-fexceptions)
