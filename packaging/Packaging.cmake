# Desktop integration and the Debian package: `cmake --install` puts the application, the
# CLI, the desktop entry and the icon in place; `cpack -G DEB` packages the same tree.
if(QUORVA_CORE_ONLY)
  return()
endif()

include(GNUInstallDirs)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/app.quorva.bridge.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/app.quorva.bridge.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quorva-bridge)
set(CPACK_PACKAGE_VENDOR "Quorva")
set(CPACK_PACKAGE_CONTACT "Quorva <support@quorva.app>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Safety signals from a local iPhone backup for Quorva Family")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
       "Quorva Bridge reads the newest local backup of a child's iPhone read-only, checks recent incoming "
       "texts on this computer and sends only messages that match focused safety patterns to Quorva for review.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
# Libraries the binaries link come from dpkg-shlibdeps; what Qt loads at run time (QML
# modules, the platform and SVG plugins, the secret-service library) does not show up there.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "qml6-module-qtquick, qml6-module-qtquick-window, qml6-module-qtquick-controls, \
qml6-module-qtquick-templates, qml6-module-qtquick-layouts, qml6-module-qtquick-dialogs, \
qml6-module-qt-labs-folderlistmodel, qml6-module-qtqml-workerscript, qt6-qpa-plugins, libqt6svg6, \
libsecret-1-0")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "gnome-keyring, adwaita-icon-theme, fonts-dejavu-core")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "qt6-wayland")
include(CPack)
