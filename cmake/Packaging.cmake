# SPDX-License-Identifier: MIT
# Installation layout and the Debian package. scripts/package.sh builds the
# package as Debian builds its own (dpkg-buildflags, the program alone);
# `cmake --install` to a prefix installs exactly the package's files.

# The package's version is the program's file version, as the changelog and
# the About box's version record give it.
set(TAVISK_VERSION ${TAVISK_FILE_VERSION})

set(TAVISK_MAINTAINER "The Tavisk developers <tavisk@example.org>" CACHE STRING
    "Maintainer of the Debian package")
# The project has no web site yet: its home page, where software centres
# fetch the screenshot, is a placeholder, and the AppStream id is the reverse
# of the same domain.
set(TAVISK_HOMEPAGE "https://tavisk.example.org/" CACHE STRING
    "The project's home page, named in the package and the AppStream metadata")
set(TAVISK_SCREENSHOT_URL "${TAVISK_HOMEPAGE}screenshot.png" CACHE STRING
    "Where software centres fetch the screenshot shown in the AppStream metadata")
set(TAVISK_APPSTREAM_ID org.example.tavisk)

set(TAVISK_PACKAGING_SRC ${CMAKE_SOURCE_DIR}/packaging)
set(TAVISK_PACKAGING_OUT ${CMAKE_BINARY_DIR}/packaging)
file(MAKE_DIRECTORY ${TAVISK_PACKAGING_OUT})

# Launcher, software-centre metadata and icons. The 32 x 32 icon is the one
# the windows carry; the others are renderings of the same SVG.
# The launcher names the program by its installed path, as KDE's own do:
# KWin grants the Wayland interfaces a launcher asks for (Plasma's window
# management, from which the clock learns the active window) only to the
# program found at that path.
configure_file(${TAVISK_PACKAGING_SRC}/tavisk.desktop.in ${TAVISK_PACKAGING_OUT}/tavisk.desktop @ONLY)
install(FILES ${TAVISK_PACKAGING_OUT}/tavisk.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
configure_file(${TAVISK_PACKAGING_SRC}/metainfo.xml.in
               ${TAVISK_PACKAGING_OUT}/${TAVISK_APPSTREAM_ID}.metainfo.xml @ONLY)
install(FILES ${TAVISK_PACKAGING_OUT}/${TAVISK_APPSTREAM_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
set(TAVISK_ICON_DIR ${CMAKE_INSTALL_DATADIR}/icons/hicolor)
install(FILES ${CMAKE_SOURCE_DIR}/assets/tavisk-32.png
        DESTINATION ${TAVISK_ICON_DIR}/32x32/apps RENAME tavisk.png)
foreach(size 16 22 48 64 128 256)
  install(FILES ${CMAKE_SOURCE_DIR}/assets/icons/tavisk-${size}.png
          DESTINATION ${TAVISK_ICON_DIR}/${size}x${size}/apps RENAME tavisk.png)
endforeach()
install(FILES ${CMAKE_SOURCE_DIR}/assets/tavisk.svg DESTINATION ${TAVISK_ICON_DIR}/scalable/apps)

# tavisk_license_paragraph(VAR FILE [FROM]): the licence text of FILE (from
# the first line starting with FROM), indented as the machine-readable
# copyright format asks: a blank line becomes " .".
function(tavisk_license_paragraph out file)
  file(READ ${file} text)
  if(ARGC GREATER 2)
    string(FIND "${text}" "${ARGV2}" start)
    string(SUBSTRING "${text}" ${start} -1 text)
  endif()
  string(REGEX REPLACE "[ \t\r]+\n" "\n" text "${text}")
  string(STRIP "${text}" text)
  string(REPLACE "\n" "\n " text "${text}")
  # Twice: one pass leaves every second of two blank lines in a row.
  string(REPLACE "\n \n" "\n .\n" text "${text}")
  string(REPLACE "\n \n" "\n .\n" text "${text}")
  set(${out} "${text}" PARENT_SCOPE)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${file})
endfunction()
# The copyright notice itself is in the Files paragraph.
tavisk_license_paragraph(TAVISK_MIT_TEXT ${CMAKE_SOURCE_DIR}/LICENSE "Permission is hereby granted")
tavisk_license_paragraph(TAVISK_OFL_TEXT ${CMAKE_SOURCE_DIR}/assets/OFL-Anton.txt)
configure_file(${TAVISK_PACKAGING_SRC}/copyright.in ${TAVISK_PACKAGING_OUT}/copyright @ONLY)

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
        DESTINATION ${CMAKE_INSTALL_DOCDIR})
install(FILES ${TAVISK_PACKAGING_OUT}/tavisk.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tavisk)
set(CPACK_PACKAGE_VERSION ${TAVISK_VERSION})
set(CPACK_PACKAGE_CONTACT ${TAVISK_MAINTAINER})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "desktop clock of large digits, with an alarm")
# The last paragraph says how it runs under Wayland, as this build can.
if(TAVISK_LAYER_SHELL)
  set(TAVISK_WAYLAND_SENTENCE "Tavisk runs on X11, natively in Wayland sessions that offer the layer\nshell (KDE Plasma, sway, labwc), and elsewhere through XWayland.")
else()
  set(TAVISK_WAYLAND_SENTENCE "Tavisk runs on X11, and under Wayland through XWayland.")
endif()
# The summary is the synopsis line; this is the text below it.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Tavisk shows the present time as large bold digits that float on the
desktop without a frame: the window is cut to the outline of the digits,
so only the digits show, in the colour you pick. Drag them with the left
mouse button to move the clock.
.
A context menu in Japanese sets the colour, the digit size, seconds on or
off and always-on-top, saves these settings, and sets an alarm with a
message, which plays the desktop's alarm sound and shows a notice when due.
.
${TAVISK_WAYLAND_SENTENCE}")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${TAVISK_HOMEPAGE})
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# Library dependencies come from dpkg-shlibdeps. What no linker sees: the
# sound theme, a Japanese font for the menu and dialogs (without one they
# show empty boxes), and Qt's own translations (the colour dialog, the
# standard buttons).
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "sound-theme-freedesktop, fonts-ipafont-gothic | fonts-noto-cjk | fonts-vlgothic, qt6-translations-l10n")
# The native Wayland mode loads Qt's Wayland platform and the layer shell's
# shell integration as plugins, which no linker sees either.
if(TAVISK_LAYER_SHELL)
  string(APPEND CPACK_DEBIAN_PACKAGE_DEPENDS ", qt6-wayland, layer-shell-qt")
endif()
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# Debian wants every directory 0755, whatever the builder's umask.
set(CPACK_PRE_BUILD_SCRIPTS ${CMAKE_SOURCE_DIR}/cmake/PackageDirPermissions.cmake)
include(CPack)
