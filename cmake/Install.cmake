# The install layout (any CMAKE_INSTALL_PREFIX): programs in bin/, their data in
# share/zelgora/, documents in share/doc/zelgora/, and the desktop's files where desktops look.
# A web build installs nothing: it is a folder of its own.

# The Debian package points at the system's font packages instead of copying their files.
option(ZELGORA_SYSTEM_FONTS "Install links to the system's font files instead of copies" OFF)

install(TARGETS zelgora RUNTIME DESTINATION ${ZELGORA_INSTALL_GAMEDIR})
install(TARGETS zelgora-dxg RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${ZELGORA_BITMAP_FILES} DESTINATION ${ZELGORA_INSTALL_DATADIR}/Bitmaps)

if(ZELGORA_SYSTEM_FONTS)
  foreach(font ${ZELGORA_FONT_FILES})
    get_filename_component(name ${font} NAME)
    get_filename_component(dir ${font} DIRECTORY)
    file(RELATIVE_PATH target ${CMAKE_INSTALL_FULL_DATADIR}/zelgora ${font})
    install(CODE "
      set(link \"\$ENV{DESTDIR}${CMAKE_INSTALL_FULL_DATADIR}/zelgora/${name}\")
      file(MAKE_DIRECTORY \"\$ENV{DESTDIR}${CMAKE_INSTALL_FULL_DATADIR}/zelgora\")
      file(REMOVE \"\${link}\")
      file(CREATE_LINK \"${target}\" \"\${link}\" SYMBOLIC)
      message(STATUS \"Linking: \${link} -> ${target}\")")
  endforeach()
else()
  install(FILES ${ZELGORA_FONT_FILES} DESTINATION ${ZELGORA_INSTALL_DATADIR})
  install(FILES ${ZELGORA_FONT_LICENSE_FILES} DESTINATION ${CMAKE_INSTALL_DOCDIR}/fonts)
endif()

# Documents, desktop entry, metainfo and manual pages, filled in from the project's values.
set(dist ${CMAKE_BINARY_DIR}/dist)
configure_file(dist/zelgora.desktop.in ${dist}/${ZELGORA_APP_ID}.desktop @ONLY)
configure_file(dist/zelgora.metainfo.xml.in ${dist}/${ZELGORA_APP_ID}.metainfo.xml @ONLY)
include(cmake/ManOptions.cmake)
zelgora_man_options(${CMAKE_SOURCE_DIR}/README.md ZELGORA_MAN_OPTIONS)
configure_file(dist/zelgora.6.in ${dist}/zelgora.6 @ONLY)
configure_file(dist/zelgora-dxg.1.in ${dist}/zelgora-dxg.1 @ONLY)
configure_file(dist/copyright.in ${dist}/copyright @ONLY)
configure_file(dist/changelog.in ${dist}/changelog @ONLY)

# Manual pages and the changelog go compressed, without time stamps, as Debian wants them.
find_program(GZIP gzip REQUIRED)
set(compressed)
foreach(f zelgora.6 zelgora-dxg.1 changelog)
  add_custom_command(OUTPUT ${dist}/${f}.gz
    COMMAND ${GZIP} -9nc ${dist}/${f} > ${dist}/${f}.gz
    DEPENDS ${dist}/${f}
    VERBATIM)
  list(APPEND compressed ${dist}/${f}.gz)
endforeach()
add_custom_target(zelgora_dist ALL DEPENDS ${compressed})

install(FILES ${dist}/${ZELGORA_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${dist}/${ZELGORA_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${dist}/zelgora.6.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
install(FILES ${dist}/zelgora-dxg.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${dist}/copyright ${dist}/changelog.gz DESTINATION ${CMAKE_INSTALL_DOCDIR})
foreach(size ${ZELGORA_ICON_SIZES})
  install(FILES ${ZELGORA_ICON_DIR}/zelgora-${size}.png
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
    RENAME ${ZELGORA_APP_ID}.png)
endforeach()
install(FILES ${ZELGORA_ICON_DIR}/zelgora.svg
  DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
  RENAME ${ZELGORA_APP_ID}.svg)

if(ZELGORA_TESTS)
  add_test(NAME Install_test
    COMMAND ${CMAKE_SOURCE_DIR}/tests/Install_test.sh ${CMAKE_BINARY_DIR} ${CMAKE_SOURCE_DIR}
            ${ZELGORA_APP_ID})
endif()
