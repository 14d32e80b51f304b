# Installation of the desktop program and vorel-batch as a Linux desktop
# program, and the Debian package made from it by CPack.

set(VOREL_APP_ID org.brelta.Vorel)
set(VOREL_DATA_DIR ${CMAKE_INSTALL_DATADIR}/vorel)

if(TARGET vorel)
  install(TARGETS vorel RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()

install(FILES ${PROJECT_SOURCE_DIR}/packaging/${VOREL_APP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
configure_file(${PROJECT_SOURCE_DIR}/packaging/${VOREL_APP_ID}.metainfo.xml
               ${PROJECT_BINARY_DIR}/packaging/${VOREL_APP_ID}.metainfo.xml @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/packaging/${VOREL_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

install(FILES ${PROJECT_SOURCE_DIR}/packaging/icons/${VOREL_APP_ID}.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
foreach(size 16 32 48 64 128 256)
  install(FILES ${PROJECT_SOURCE_DIR}/packaging/icons/${VOREL_APP_ID}-${size}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
          RENAME ${VOREL_APP_ID}.png)
endforeach()

# The examples and the user guide with its pictures, where the installed
# program looks for them.
install(DIRECTORY ${PROJECT_SOURCE_DIR}/examples/ DESTINATION ${VOREL_DATA_DIR}/examples)
if(EXISTS ${PROJECT_SOURCE_DIR}/docs/user-guide.md)
  install(FILES ${PROJECT_SOURCE_DIR}/docs/user-guide.md DESTINATION ${VOREL_DATA_DIR}/docs)
endif()
foreach(pictures pages screens)
  if(EXISTS ${PROJECT_SOURCE_DIR}/docs/${pictures})
    install(DIRECTORY ${PROJECT_SOURCE_DIR}/docs/${pictures} DESTINATION ${VOREL_DATA_DIR}/docs)
  endif()
endforeach()

set(CPACK_PACKAGE_NAME vorel)
set(CPACK_PACKAGE_VENDOR "Brelta")
set(CPACK_PACKAGE_CONTACT "Vorel developers <vorel@brelta.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Singular Spectrum Analysis of time series with gaps")
set(CPACK_PACKAGE_DESCRIPTION
    "Vorel fills the gaps of a time series by Singular Spectrum Analysis: a desktop program that\n"
    "shows every step of the analysis as a page of graphs, and vorel-batch, a command-line tool on\n"
    "the same engine for scripts.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
# The shared libraries decide the dependencies; the graphs' font is data, not a library.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation")
set(CPACK_STRIP_FILES ON)
include(CPack)

if(VOREL_BUILD_TESTS AND NOT VOREL_SANITIZE)
  # Builds the package, unpacks it into a scratch root and runs what it installed.
  add_test(NAME package.debian
           COMMAND bash ${PROJECT_SOURCE_DIR}/tests/package/check-package.sh ${PROJECT_BINARY_DIR}
                   ${VOREL_APP_ID} ${PROJECT_VERSION})
  set_tests_properties(package.debian PROPERTIES LABELS package TIMEOUT 600)
  # Installs into a read-only prefix and runs the programs there as a user who
  # cannot write it (status 77, a skip, when the tools for that are missing).
  add_test(NAME package.read-only-prefix
           COMMAND bash ${PROJECT_SOURCE_DIR}/tests/package/check-install.sh ${PROJECT_BINARY_DIR}
                   ${PROJECT_VERSION})
  set_tests_properties(package.read-only-prefix PROPERTIES LABELS package TIMEOUT 300
                                                           SKIP_RETURN_CODE 77)
endif()
