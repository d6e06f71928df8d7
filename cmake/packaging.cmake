# What `cmake --install` puts where, and the packages CPack makes of it:
# on Linux a .tar.gz and a .deb, from the Windows cross build a .zip.
#
#   cpack --config BUILD_DIR/CPackConfig.cmake -B OUTPUT_DIR
#
# (scripts/package.sh builds and packs all three.)
include(GNUInstallDirs)

set(VARISTELLAR_SAMPLE_NIGHT ${PROJECT_SOURCE_DIR}/examples/sample-night)
set(VARISTELLAR_TWO_FILTER_NIGHT ${PROJECT_SOURCE_DIR}/examples/two-filter-night)
# The web page is built by another toolchain (the web preset); the packages
# carry it when its path is given.
set(VARISTELLAR_PAGE "" CACHE FILEPATH "varistellar.html to ship with the program")
set(VARISTELLAR_MAINTAINER
    "Varistellar maintainers <maintainers@varistellar.example>"
    CACHE STRING "The packages' maintainer, as NAME <ADDRESS>")

# A file compressed as Debian wants its manual pages and changelogs: gzip at
# its best, without the name and time stamp that would make each build differ.
find_program(VARISTELLAR_GZIP gzip)
function(varistellar_gzip input output)
  execute_process(COMMAND ${VARISTELLAR_GZIP} -9nc ${input} OUTPUT_FILE ${output}
                  COMMAND_ERROR_IS_FATAL ANY)
endfunction()

if(WIN32)
  # A flat folder for double-clicking: the executable, a README.txt with
  # CR LF line ends that Notepad shows whole, and the sample night beside it.
  configure_file(${PROJECT_SOURCE_DIR}/docs/README-windows.txt
                 ${PROJECT_BINARY_DIR}/README.txt @ONLY NEWLINE_STYLE CRLF)
  install(FILES ${PROJECT_BINARY_DIR}/README.txt DESTINATION .)
  # The licence, named so that a double-click opens it, with CR LF line ends.
  configure_file(${PROJECT_SOURCE_DIR}/LICENSE ${PROJECT_BINARY_DIR}/LICENSE.txt
                 @ONLY NEWLINE_STYLE CRLF)
  install(FILES ${PROJECT_BINARY_DIR}/LICENSE.txt DESTINATION .)
  install(DIRECTORY ${VARISTELLAR_SAMPLE_NIGHT}/ DESTINATION sample-night)
  install(DIRECTORY ${VARISTELLAR_TWO_FILTER_NIGHT}/ DESTINATION two-filter-night)
  if(VARISTELLAR_PAGE)
    install(FILES ${VARISTELLAR_PAGE} DESTINATION .)
  endif()
  set(CPACK_GENERATOR ZIP)
  set(CPACK_PACKAGE_FILE_NAME ${PROJECT_NAME}-${PROJECT_VERSION}-windows-x86_64)
else()
  # The README, the licence and the pages under docs/, laid out as in the
  # source tree so that the pages' links to each other still lead somewhere.
  install(FILES ${PROJECT_SOURCE_DIR}/README.md ${PROJECT_SOURCE_DIR}/ARCHITECTURE.md
                ${PROJECT_SOURCE_DIR}/LICENSE DESTINATION ${CMAKE_INSTALL_DOCDIR})
  file(GLOB VARISTELLAR_DOC_PAGES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/docs/*.md)
  install(FILES ${VARISTELLAR_DOC_PAGES} ${PROJECT_SOURCE_DIR}/docs/sample-night.svg
          DESTINATION ${CMAKE_INSTALL_DOCDIR}/docs)
  install(DIRECTORY ${VARISTELLAR_SAMPLE_NIGHT}/ DESTINATION ${CMAKE_INSTALL_DOCDIR}/sample-night)
  install(DIRECTORY ${VARISTELLAR_TWO_FILTER_NIGHT}/
          DESTINATION ${CMAKE_INSTALL_DOCDIR}/two-filter-night)
  if(VARISTELLAR_PAGE)
    install(FILES ${VARISTELLAR_PAGE} DESTINATION ${CMAKE_INSTALL_DOCDIR})
  endif()
  configure_file(${PROJECT_SOURCE_DIR}/docs/varistellar.1
                 ${PROJECT_BINARY_DIR}/varistellar.1 @ONLY)
  varistellar_gzip(${PROJECT_BINARY_DIR}/varistellar.1 ${PROJECT_BINARY_DIR}/varistellar.1.gz)
  install(FILES ${PROJECT_BINARY_DIR}/varistellar.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  # What a Debian user finds beside every package's documentation.
  install(FILES ${PROJECT_SOURCE_DIR}/docs/debian/copyright DESTINATION ${CMAKE_INSTALL_DOCDIR})
  configure_file(${PROJECT_SOURCE_DIR}/docs/debian/changelog
                 ${PROJECT_BINARY_DIR}/changelog @ONLY)
  varistellar_gzip(${PROJECT_BINARY_DIR}/changelog ${PROJECT_BINARY_DIR}/changelog.gz)
  install(FILES ${PROJECT_BINARY_DIR}/changelog.gz DESTINATION ${CMAKE_INSTALL_DOCDIR})
  install(FILES ${PROJECT_SOURCE_DIR}/docs/debian/lintian-overrides
          DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides RENAME varistellar)
  set(CPACK_GENERATOR TGZ DEB)
  set(CPACK_PACKAGE_FILE_NAME ${PROJECT_NAME}-${PROJECT_VERSION}-linux-x86_64)
endif()

set(CPACK_PACKAGE_NAME ${PROJECT_NAME})
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Varistellar developers")
set(CPACK_PACKAGE_CONTACT ${VARISTELLAR_MAINTAINER})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "Converts MAGNIVEX light-curve tables into AAVSO Extended File Format reports")
# Debian shows the description as it is: lines of at most 80 columns.
set(CPACK_PACKAGE_DESCRIPTION
    "Varistellar turns every variable-minus-comparison magnitude of a MAGNIVEX
light-curve table into a standard magnitude and writes the night as a report
in the AAVSO Extended File Format, ready for submission; it also checks such
reports. The documentation folder holds varistellar.html, the same program as
one web page that works offline in any browser.")
# The packaged program carries no symbol tables: a third of its size.
set(CPACK_STRIP_FILES ON)

# The .deb installs under /usr; the program is linked statically, so it
# depends on nothing.
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS OFF)

include(CPack)
