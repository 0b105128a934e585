# Desktop integration and the Debian package: `cmake --install` puts the application, the
# CLI, their manual pages, the desktop entry, the icon, the AppStream metainfo and the
# package's documents in place; `cpack -G DEB` packages the same tree.
if(QUORVA_CORE_ONLY)
  return()
endif()

include(GNUInstallDirs)
set(QUORVA_PACKAGE_NAME quorva-bridge)
# The Debian revision: raise it for a new package of the same release, with a changelog entry.
set(QUORVA_PACKAGE_RELEASE 1)
set(QUORVA_PACKAGE_OUTPUT ${PROJECT_BINARY_DIR}/packaging)
set(QUORVA_PACKAGE_DOCDIR ${CMAKE_INSTALL_DATADIR}/doc/${QUORVA_PACKAGE_NAME})

install(FILES ${CMAKE_CURRENT_LIST_DIR}/app.quorva.bridge.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/app.quorva.bridge.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/app.quorva.bridge.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/copyright DESTINATION ${QUORVA_PACKAGE_DOCDIR})
install(FILES ${CMAKE_CURRENT_LIST_DIR}/lintian-overrides DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides
        RENAME ${QUORVA_PACKAGE_NAME})

# The changelog's newest entry must name the version being packaged.
file(STRINGS ${CMAKE_CURRENT_LIST_DIR}/changelog QUORVA_CHANGELOG_HEAD LIMIT_COUNT 1)
set(QUORVA_PACKAGE_VERSION "${PROJECT_VERSION}-${QUORVA_PACKAGE_RELEASE}")
if(NOT QUORVA_CHANGELOG_HEAD MATCHES "^${QUORVA_PACKAGE_NAME} \\(${QUORVA_PACKAGE_VERSION}\\) ")
  message(FATAL_ERROR "packaging/changelog starts with \"${QUORVA_CHANGELOG_HEAD}\"; "
                      "add an entry for ${QUORVA_PACKAGE_VERSION}")
endif()
# gzip -n leaves out the name and time, so the same sources give the same package.
add_custom_command(
  OUTPUT ${QUORVA_PACKAGE_OUTPUT}/changelog.Debian.gz
  COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_CURRENT_LIST_DIR}/changelog ${QUORVA_PACKAGE_OUTPUT}/changelog.Debian
  COMMAND gzip -9nf ${QUORVA_PACKAGE_OUTPUT}/changelog.Debian
  DEPENDS ${CMAKE_CURRENT_LIST_DIR}/changelog
  VERBATIM)
set(QUORVA_PACKAGE_FILES ${QUORVA_PACKAGE_OUTPUT}/changelog.Debian.gz)
install(FILES ${QUORVA_PACKAGE_OUTPUT}/changelog.Debian.gz DESTINATION ${QUORVA_PACKAGE_DOCDIR})

# PNGs beside the SVG at the sizes panels, trays and docks ask for: not every one draws SVG.
if(TARGET quorva-icon-sizes)
  set(quorva_icon_sizes 16 22 24 32 48 64 128 256)
  set(quorva_icons)
  foreach(size ${quorva_icon_sizes})
    list(APPEND quorva_icons ${QUORVA_PACKAGE_OUTPUT}/icons/${size}x${size}/apps/app.quorva.bridge.png)
  endforeach()
  add_custom_command(
    OUTPUT ${quorva_icons}
    COMMAND quorva-icon-sizes ${CMAKE_CURRENT_LIST_DIR}/app.quorva.bridge.svg ${QUORVA_PACKAGE_OUTPUT}/icons
            ${quorva_icon_sizes}
    DEPENDS quorva-icon-sizes ${CMAKE_CURRENT_LIST_DIR}/app.quorva.bridge.svg
    VERBATIM)
  list(APPEND QUORVA_PACKAGE_FILES ${quorva_icons})
  install(DIRECTORY ${QUORVA_PACKAGE_OUTPUT}/icons/ DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor)
endif()

# Manual pages from each program's --help, so they follow the command line. help2man is given
# the version rather than asking the program for it, and runs the programs without a display,
# as a terminal user would.
find_program(QUORVA_HELP2MAN help2man)
if(QUORVA_HELP2MAN)
  set(QUORVA_MAN_NAME_quorva-bridge "check a local iPhone backup for safety signals")
  set(QUORVA_MAN_NAME_quorva-bridge-cli "the work of Quorva Bridge without a window")
  foreach(program quorva-bridge quorva-bridge-cli)
    set(page ${QUORVA_PACKAGE_OUTPUT}/${program}.1)
    add_custom_command(
      OUTPUT ${page}.gz
      # Run through PATH so the usage line names the program, not the build folder.
      COMMAND ${CMAKE_COMMAND} -E env --unset=DISPLAY --unset=WAYLAND_DISPLAY --unset=QT_QPA_PLATFORM
              "PATH=$<TARGET_FILE_DIR:${program}>:/usr/bin:/bin"
              ${QUORVA_HELP2MAN} --no-info --version-string=${PROJECT_VERSION}
              "--name=${QUORVA_MAN_NAME_${program}}" --output=${page} ${program}
      COMMAND gzip -9nf ${page}
      DEPENDS ${program}
      VERBATIM)
    list(APPEND QUORVA_PACKAGE_FILES ${page}.gz)
    install(FILES ${page}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  endforeach()
else()
  message(WARNING "help2man was not found (scripts/setup installs it): no manual pages")
endif()
add_custom_target(quorva_package_files ALL DEPENDS ${QUORVA_PACKAGE_FILES})

# strip leaves the compiler's .comment and the bare .note section, which nothing reads at run
# time; Debian's own packaging removes them too.
install(CODE "
  if(CMAKE_INSTALL_DO_STRIP)
    foreach(program quorva-bridge quorva-bridge-cli)
      execute_process(COMMAND \"${CMAKE_OBJCOPY}\" --remove-section=.comment --remove-section=.note
                              \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/\${program}\"
                      COMMAND_ERROR_IS_FATAL ANY)
    endforeach()
  endif()")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME ${QUORVA_PACKAGE_NAME})
set(CPACK_PACKAGE_VENDOR "Quorva")
set(CPACK_PACKAGE_CONTACT "Quorva <support@quorva.app>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Safety signals from a local iPhone backup for Quorva Family")
# Lines of at most 80 columns: CPack indents each one for the control file.
string(CONCAT CPACK_PACKAGE_DESCRIPTION
       "Quorva Bridge reads the newest local backup of a child's iPhone read-only,\n"
       "checks recent incoming texts on this computer and sends only messages that\n"
       "match focused safety patterns to Quorva for review.\n"
       "\n"
       "The package holds the desktop application and quorva-bridge-cli, which does\n"
       "the same work from a terminal.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_RELEASE ${QUORVA_PACKAGE_RELEASE})
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://quorva.app/")
# Libraries the binaries link come from dpkg-shlibdeps; what Qt loads at run time (QML
# modules, the platform and SVG plugins, the secret-service library) does not show up there.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "qml6-module-qtquick, qml6-module-qtquick-window, qml6-module-qtquick-controls, \
qml6-module-qtquick-templates, qml6-module-qtquick-layouts, qml6-module-qtquick-dialogs, \
qml6-module-qt-labs-folderlistmodel, qml6-module-qtqml-workerscript, qt6-qpa-plugins, libqt6svg6, \
libsecret-1-0")
# The folder chooser is the desktop's own only through a platform theme: Qt picks the GTK one
# on GNOME-like desktops, and the portal one (QT_QPA_PLATFORMTHEME=xdgdesktopportal, or inside
# a sandbox) asks xdg-desktop-portal, which needs a backend. Without them the chooser is
# drawn by Qt Quick.
# libimobiledevice6 comes from dpkg-shlibdeps, as the binaries link it. Making the backup itself
# needs idevicebackup2 and the usbmuxd daemon that sees phones on USB; both are only recommended:
# a family whose backups are made elsewhere (another computer, a NAS) needs neither, and Bridge
# says what is missing when a run cannot start.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS
    "gnome-keyring, adwaita-icon-theme, fonts-dejavu-core, qt6-gtk-platformtheme, \
qt6-xdgdesktopportal-platformtheme, xdg-desktop-portal-gtk | xdg-desktop-portal-backend, \
usbmuxd, libimobiledevice-utils")
# Qt speaks the StatusNotifier tray protocol itself; GNOME Shell shows such icons only with
# this extension. Recommending it would pull GNOME Shell onto every other desktop.
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "qt6-wayland, gnome-shell-extension-appindicator")
include(CPack)
