# The packages: a Debian package (cpack -G DEB) and a ZIP for Windows (cpack -G ZIP in the
# Windows cross-build). Both hold what `cmake --install` puts in place, plus the README and the
# bundled examples; the Debian package names its library dependencies as dpkg-shlibdeps finds
# them, so that it installs with apt-get on a plain Debian.
if(WIN32)
  # Unpacked, the ZIP shows the README and the examples beside the folder of executables.
  set(vesk_doku_ordner .)
else()
  set(vesk_doku_ordner ${CMAKE_INSTALL_DATAROOTDIR}/doc/vesk-plausipruefer)
endif()
install(FILES README.md DESTINATION ${vesk_doku_ordner})
install(FILES docs/seite.png DESTINATION ${vesk_doku_ordner}/docs)  # the picture the README shows
install(DIRECTORY examples/ DESTINATION ${vesk_doku_ordner}/examples)

# The Debian package also holds the HTTP service's systemd unit, which no maintainer script
# enables or starts, and the example configuration in /etc/vesk, where the unit looks for it;
# as conffiles, dpkg keeps a changed configuration on upgrade and removal.
# Both have fixed places outside the installation prefix, so they belong to a component of
# their own that only the package installs, never a plain `cmake --install`.
if(CMAKE_SYSTEM_NAME STREQUAL "Linux")
  install(FILES packaging/vesk-dienst.service DESTINATION /lib/systemd/system
          COMPONENT systemweit EXCLUDE_FROM_ALL)
  set(vesk_konfiguration plausi.ini struktur.ini datensaetze.ini schadenarten.txt)
  list(TRANSFORM vesk_konfiguration PREPEND examples/ OUTPUT_VARIABLE vesk_konfiguration_quellen)
  install(FILES ${vesk_konfiguration_quellen} DESTINATION /etc/vesk
          COMPONENT systemweit EXCLUDE_FROM_ALL)
  list(TRANSFORM vesk_konfiguration PREPEND /etc/vesk/)
  list(JOIN vesk_konfiguration "\n" vesk_conffiles)
  file(CONFIGURE OUTPUT ${PROJECT_BINARY_DIR}/debian/conffiles CONTENT "${vesk_conffiles}\n")
  set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${PROJECT_BINARY_DIR}/debian/conffiles)
  # Every component installed by default, then that one.
  set(CPACK_INSTALL_CMAKE_PROJECTS
      "${PROJECT_BINARY_DIR};${PROJECT_NAME};ALL;/"
      "${PROJECT_BINARY_DIR};${PROJECT_NAME};systemweit;/")
endif()

set(CPACK_PACKAGE_NAME vesk-plausipruefer)
set(CPACK_PACKAGE_VENDOR "Vesk_Plausipruefer")
set(CPACK_PACKAGE_CONTACT "Vesk_Plausipruefer-Entwickler <entwicklung@vesk-plausipruefer.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "Plausibility checker for insurance-claim messages of 256-byte records")
set(CPACK_PACKAGE_DESCRIPTION
    "Checks claim messages (files of 256-byte records) against INI-style definition files: the
frame, the order and number of record types, cross-field rules and every field. Holds the
checker Vesk_Plausipruefer, the front end vesk (located findings as text and JSON, whole
folders on all cores, a lint of the definition files, a field-by-field view, an HTTP service
with a systemd unit that is not enabled and an example configuration in /etc/vesk), IniFile,
the two data-type commands, the C library libvesk with its header, CMake and pkg-config
files, and the manual pages.")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_STRIP_FILES ON)
set(CPACK_SOURCE_IGNORE_FILES /build/ /\\.git/)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "python3")

if(WIN32)
  set(CPACK_PACKAGE_FILE_NAME ${CPACK_PACKAGE_NAME}-${PROJECT_VERSION}-windows-x86_64)
  set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
endif()
include(CPack)
