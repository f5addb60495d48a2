# Installation under the prefix and the Debian package built from it:
#   bin/pwangsa, bin/pwangsa-admin
#   share/applications/pwangsa.desktop
#   share/icons/hicolor/256x256/apps/pwangsa.png
#   share/man/man1/pwangsa.1, pwangsa-admin.1
# "cpack -G DEB" in the build folder writes pwangsa_<version>_<arch>.deb.

include(GNUInstallDirs)

install(TARGETS pwangsa RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
if(TARGET pwangsa-admin)
  install(TARGETS pwangsa-admin RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()
install(FILES ${PROJECT_SOURCE_DIR}/cmake/pwangsa.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_SOURCE_DIR}/assets/icon-256.png
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/256x256/apps RENAME pwangsa.png)

install(FILES ${PROJECT_SOURCE_DIR}/docs/man/pwangsa.1 ${PROJECT_SOURCE_DIR}/docs/man/pwangsa-admin.1
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

set(CPACK_PACKAGE_NAME pwangsa)
set(CPACK_PACKAGE_VENDOR "PWANGSA")
set(CPACK_PACKAGE_CONTACT "PWANGSA maintainers <pwangsa@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Sales program for a small office: customers, orders, sales and invoices")
set(CPACK_PACKAGE_DESCRIPTION
    "PWANGSA keeps the customers, orders and sales of a small office, prints invoices and sales reports, "
    "and comes with pwangsa-admin for creating, backing up, restoring, exporting and importing its database.")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "PWANGSA maintainers <pwangsa@localhost>")
# The Debian 12 packages the program needs at run time: Qt's libraries with the
# SQLite driver, SQLite itself, and the fonts the reports and windows name.
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "libqt6core6 (>= 6.4), libqt6gui6 (>= 6.4), libqt6widgets6 (>= 6.4), libqt6sql6 (>= 6.4), "
    "libqt6sql6-sqlite (>= 6.4), libqt6printsupport6 (>= 6.4), libsqlite3-0 (>= 3.40), libstdc++6 (>= 12), "
    "fonts-liberation2, fonts-comic-neue")
include(CPack)
