# What the cross builds (browser, Windows) share: the header-only JSON and command-line
# libraries from the host, seen through a folder of their own so that the host's C headers
# stay out of the include path, and the generated sounds and pictures of a native build, whose
# generators run there.
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

set(ZELGORA_NATIVE_BUILD "" CACHE PATH
  "Native build folder that made generated/StoredWavesData.cpp and Bitmaps/")
foreach(f generated/StoredWavesData.cpp Bitmaps/SetupBars.dxg ${ZELGORA_NATIVE_EXTRA_FILES})
  if(NOT EXISTS "${ZELGORA_NATIVE_BUILD}/${f}")
    message(FATAL_ERROR "ZELGORA_NATIVE_BUILD (${ZELGORA_NATIVE_BUILD}) holds no ${f}: build "
      "the native targets zelgora_waves, zelgora_artwork and zelgora_icons first")
  endif()
endforeach()
