# Installation layout and the Debian package: `cpack -G DEB` in the build
# directory writes tavisk_<version>_<arch>.deb.

# The version has one home, the program's version record.
file(STRINGS ${CMAKE_SOURCE_DIR}/src/platform/Version.h TAVISK_VERSION_LINE
     REGEX "kVersion\\[\\] = \"[^\"]+\"")
string(REGEX MATCH "\"([^\"]+)\"" TAVISK_VERSION_MATCH "${TAVISK_VERSION_LINE}")
set(TAVISK_VERSION "${CMAKE_MATCH_1}")
if(NOT TAVISK_VERSION)
  message(FATAL_ERROR "no kVersion in src/platform/Version.h")
endif()
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/platform/Version.h)

set(TAVISK_MAINTAINER "The Tavisk developers <tavisk@example.org>" CACHE STRING
    "Maintainer of the Debian package")

set(TAVISK_PACKAGING_SRC ${CMAKE_SOURCE_DIR}/packaging)
set(TAVISK_PACKAGING_OUT ${CMAKE_BINARY_DIR}/packaging)
file(MAKE_DIRECTORY ${TAVISK_PACKAGING_OUT})

# Launcher and icons. The 32 x 32 icon is the one the windows carry; the
# larger ones are renderings of the same SVG.
install(FILES ${TAVISK_PACKAGING_SRC}/tavisk.desktop DESTINATION share/applications)
install(FILES ${CMAKE_SOURCE_DIR}/assets/tavisk-32.png
        DESTINATION share/icons/hicolor/32x32/apps RENAME tavisk.png)
foreach(size 48 64 128 256)
  install(FILES ${CMAKE_SOURCE_DIR}/assets/icons/tavisk-${size}.png
          DESTINATION share/icons/hicolor/${size}x${size}/apps RENAME tavisk.png)
endforeach()
install(FILES ${CMAKE_SOURCE_DIR}/assets/tavisk.svg DESTINATION share/icons/hicolor/scalable/apps)

# The copyright file carries the bundled font's licence text, indented as the
# machine-readable format asks (a blank line becomes " .").
file(READ ${CMAKE_SOURCE_DIR}/assets/OFL-Anton.txt TAVISK_OFL_TEXT)
string(REGEX REPLACE "[ \t\r]+\n" "\n" TAVISK_OFL_TEXT "${TAVISK_OFL_TEXT}")
string(STRIP "${TAVISK_OFL_TEXT}" TAVISK_OFL_TEXT)
string(REPLACE "\n" "\n " TAVISK_OFL_TEXT "${TAVISK_OFL_TEXT}")
# Twice: one pass leaves every second of two blank lines in a row.
string(REPLACE "\n \n" "\n .\n" TAVISK_OFL_TEXT "${TAVISK_OFL_TEXT}")
string(REPLACE "\n \n" "\n .\n" TAVISK_OFL_TEXT "${TAVISK_OFL_TEXT}")
configure_file(${TAVISK_PACKAGING_SRC}/copyright.in ${TAVISK_PACKAGING_OUT}/copyright @ONLY)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/assets/OFL-Anton.txt)

# Changelog and manual page, compressed reproducibly (no name, no time stamp).
configure_file(${TAVISK_PACKAGING_SRC}/changelog ${TAVISK_PACKAGING_OUT}/plain/changelog COPYONLY)
configure_file(${TAVISK_PACKAGING_SRC}/tavisk.1.in ${TAVISK_PACKAGING_OUT}/plain/tavisk.1 @ONLY)
find_program(GZIP_PROGRAM gzip REQUIRED)
set(TAVISK_COMPRESSED)
foreach(doc changelog tavisk.1)
  add_custom_command(
    OUTPUT ${TAVISK_PACKAGING_OUT}/${doc}.gz
    COMMAND ${CMAKE_COMMAND} -E copy ${TAVISK_PACKAGING_OUT}/plain/${doc} ${TAVISK_PACKAGING_OUT}/${doc}
    COMMAND ${GZIP_PROGRAM} -9nf ${TAVISK_PACKAGING_OUT}/${doc}
    DEPENDS ${TAVISK_PACKAGING_OUT}/plain/${doc}
    VERBATIM)
  list(APPEND TAVISK_COMPRESSED ${TAVISK_PACKAGING_OUT}/${doc}.gz)
endforeach()
add_custom_target(tavisk_package_docs ALL DEPENDS ${TAVISK_COMPRESSED})
install(FILES ${TAVISK_PACKAGING_OUT}/copyright ${TAVISK_PACKAGING_OUT}/changelog.gz
        DESTINATION share/doc/tavisk)
install(FILES ${TAVISK_PACKAGING_OUT}/tavisk.1.gz DESTINATION share/man/man1)

# Full RELRO for the installed program, as Debian builds its own packages.
target_link_options(tavisk PRIVATE "LINKER:-z,now")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tavisk)
set(CPACK_PACKAGE_VERSION ${TAVISK_VERSION})
set(CPACK_PACKAGE_CONTACT ${TAVISK_MAINTAINER})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "desktop clock of large digits, with an alarm")
# The summary is the synopsis line; this is the text below it.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Tavisk shows the present time as large bold digits that float on the
desktop without a frame: the window is cut to the outline of the digits.
A context menu (in Japanese) sets the colour, the size, seconds and
always-on-top, saves these settings, and sets an alarm with a message,
which plays the desktop's alarm sound and shows a notice when due.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# Library dependencies come from dpkg-shlibdeps; the sound theme is data
# that no linker sees.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "sound-theme-freedesktop")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# Debian wants every directory 0755, whatever the builder's umask.
set(CPACK_PRE_BUILD_SCRIPTS ${CMAKE_SOURCE_DIR}/cmake/PackageDirPermissions.cmake)
include(CPack)
