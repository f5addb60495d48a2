# Installation under the prefix and the Debian package built from it:
#   bin/pwangsa, bin/pwangsa-admin
#   share/applications/pwangsa.desktop
#   share/icons/hicolor/256x256/apps/pwangsa.png
#   share/man/man1/pwangsa.1.gz, pwangsa-admin.1.gz
#   share/doc/pwangsa/copyright, changelog.gz
# scripts/package builds the package from a Release build ("cpack -G DEB" in
# the build folder writes pwangsa_<version>_<arch>.deb).

include(GNUInstallDirs)

install(TARGETS pwangsa RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
if(TARGET pwangsa-admin)
  install(TARGETS pwangsa-admin RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()
install(FILES ${PROJECT_SOURCE_DIR}/cmake/pwangsa.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_SOURCE_DIR}/assets/icon-256.png
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/256x256/apps RENAME pwangsa.png)

# Manual pages and the change log are installed compressed, as Debian keeps
# them; gzip -n leaves no time stamp, so the same sources give the same files.
set(PWANGSA_COMPRESSED_DOCS)
function(pwangsa_gzip source output)
  add_custom_command(OUTPUT ${output}
                     COMMAND gzip -9 -n -c ${source} > ${output}
                     DEPENDS ${source} VERBATIM)
  list(APPEND PWANGSA_COMPRESSED_DOCS ${output})
  set(PWANGSA_COMPRESSED_DOCS ${PWANGSA_COMPRESSED_DOCS} PARENT_SCOPE)
endfunction()
foreach(page pwangsa.1 pwangsa-admin.1)
  pwangsa_gzip(${PROJECT_SOURCE_DIR}/docs/man/${page} ${CMAKE_BINARY_DIR}/man/${page}.gz)
endforeach()
pwangsa_gzip(${PROJECT_SOURCE_DIR}/cmake/changelog ${CMAKE_BINARY_DIR}/doc/changelog.gz)
file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/man ${CMAKE_BINARY_DIR}/doc)
add_custom_target(compressed_docs ALL DEPENDS ${PWANGSA_COMPRESSED_DOCS})
install(FILES ${CMAKE_BINARY_DIR}/man/pwangsa.1.gz ${CMAKE_BINARY_DIR}/man/pwangsa-admin.1.gz
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${CMAKE_BINARY_DIR}/doc/changelog.gz DESTINATION ${CMAKE_INSTALL_DOCDIR})
install(FILES ${PROJECT_SOURCE_DIR}/cmake/copyright DESTINATION ${CMAKE_INSTALL_DOCDIR})

set(CPACK_PACKAGE_NAME pwangsa)
set(CPACK_PACKAGE_VENDOR "PWANGSA")
set(CPACK_PACKAGE_CONTACT "PWANGSA maintainers <pwangsa@tirtawangsa.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "sales program for a small office")
# One string each: a CMake list would be written into the field with its ";".
# CPack puts the summary first and indents these lines under it.
string(CONCAT CPACK_DEBIAN_PACKAGE_DESCRIPTION
       "PWANGSA keeps the customers, orders and sales of a small office, prints\n"
       "invoices and sales reports, and comes with pwangsa-admin for creating,\n"
       "backing up, restoring, exporting and importing its database, on one PC\n"
       "(SQLite) or shared by an office on a PostgreSQL server.")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "PWANGSA maintainers <pwangsa@tirtawangsa.example>")
# The Debian 12 packages the program needs at run time: Qt's libraries with the
# SQLite and PostgreSQL drivers, SQLite itself, the spooler's client library,
# and the fonts the reports and windows name.
string(CONCAT CPACK_DEBIAN_PACKAGE_DEPENDS
       "libc6 (>= 2.36), libqt6core6 (>= 6.4), libqt6gui6 (>= 6.4), libqt6widgets6 (>= 6.4), "
       "libqt6sql6 (>= 6.4), libqt6sql6-sqlite (>= 6.4), libqt6sql6-psql (>= 6.4), "
       "libqt6printsupport6 (>= 6.4), libsqlite3-0 (>= 3.40), libcups2 (>= 2.4), libstdc++6 (>= 12), libgcc-s1, "
       "fonts-liberation2, fonts-comic-neue")
include(CPack)
