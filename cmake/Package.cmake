# The Debian package, made by CPack from the install rules: scripts/package builds it with
# CMAKE_INSTALL_PREFIX=/usr and ZELGORA_SYSTEM_FONTS=ON.

# The font packages that hold the faces the game links to.
set(font_packages)
if(ZELGORA_SYSTEM_FONTS)
  find_program(DPKG_QUERY dpkg-query REQUIRED)
  foreach(font ${ZELGORA_FONT_FILES})
    execute_process(COMMAND ${DPKG_QUERY} --search ${font}
      OUTPUT_VARIABLE owner RESULT_VARIABLE failed OUTPUT_STRIP_TRAILING_WHITESPACE)
    if(failed)
      message(FATAL_ERROR "${font} belongs to no Debian package: the package cannot depend on it")
    endif()
    string(REGEX REPLACE ":.*" "" owner "${owner}")
    list(APPEND font_packages ${owner})
  endforeach()
  list(REMOVE_DUPLICATES font_packages)
endif()

find_program(DPKG dpkg)
if(DPKG)
  execute_process(COMMAND ${DPKG} --print-architecture
    OUTPUT_VARIABLE arch OUTPUT_STRIP_TRAILING_WHITESPACE)
else()
  set(arch unknown)
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME zelgora)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT ${ZELGORA_MAINTAINER})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "3D picture-cube puzzle")
set(CPACK_PACKAGE_DESCRIPTION
  "Zelgora shows a board of picture cubes, from 2 x 2 to 5 x 5 over four levels.
Every cube carries six pictures and starts turned at random; turn the cubes a
quarter turn at a time until every cube shows the same orientation as the cube
in the bottom-left corner. Two picture themes, Beginner and Profi modes, Slovak
and English texts, sound, full screen, keyboard and game controllers.")
set(CPACK_PACKAGE_FILE_NAME zelgora_${PROJECT_VERSION}_${arch})
set(CPACK_DEBIAN_FILE_NAME zelgora_${PROJECT_VERSION}_${arch}.deb)
set(CPACK_DEBIAN_PACKAGE_ARCHITECTURE ${arch})
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${ZELGORA_HOMEPAGE})
# The libraries the programs link come from the shared-library scan; OpenGL and EGL are
# opened at run time, so the scan cannot see them.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
list(JOIN font_packages ", " font_depends)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libgl1, libegl1")
if(font_depends)
  string(APPEND CPACK_DEBIAN_PACKAGE_DEPENDS ", ${font_depends}")
endif()
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "libgl1-mesa-dri")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_STRIP_FILES ON)
set(CPACK_OUTPUT_FILE_PREFIX ${CMAKE_BINARY_DIR})
include(CPack)
