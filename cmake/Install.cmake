# What `cmake --install` puts where (prefix /usr in the Debian package):
#   bin/vexalo, bin/vexalo-cli              the programs
#   libexec/vexalo/vexalo-cli-gl            the PNG export helper, not on PATH
#   share/man/man1/*.1.gz                   manual pages (from docs/*.scd)
#   share/applications, share/metainfo, share/mime/packages, share/icons
#   share/doc/vexalo                        manual, copyright, changelog
include(GNUInstallDirs)

install(TARGETS vexalo-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
set(VX_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/vexalo)
install(FILES ${CMAKE_SOURCE_DIR}/docs/manual.md DESTINATION ${VX_DOC_DIR})

# The copyright file in the machine-readable Debian format, built from
# LICENSE so that the licence text exists once.
file(READ ${CMAKE_SOURCE_DIR}/LICENSE VX_LICENSE_TEXT)
string(REGEX MATCH "Copyright \\(c\\) ([^\n]*)" VX_COPYRIGHT_LINE "${VX_LICENSE_TEXT}")
set(VX_COPYRIGHT_HOLDERS "${CMAKE_MATCH_1}")
string(REGEX REPLACE "^MIT License\n\nCopyright \\(c\\) [^\n]*\n\n" "" VX_LICENSE_TEXT "${VX_LICENSE_TEXT}")
string(REGEX REPLACE "\n+$" "" VX_LICENSE_TEXT "${VX_LICENSE_TEXT}")
string(REGEX REPLACE "\n\n" "\n.\n" VX_LICENSE_TEXT "${VX_LICENSE_TEXT}")
string(REGEX REPLACE "\n" "\n " VX_LICENSE_TEXT "${VX_LICENSE_TEXT}")
configure_file(${CMAKE_SOURCE_DIR}/cmake/copyright.in ${CMAKE_BINARY_DIR}/package/copyright @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/package/copyright DESTINATION ${VX_DOC_DIR})

# Compressed without time stamps, so that two builds give the same bytes.
find_program(GZIP_PROGRAM gzip REQUIRED)
configure_file(${CMAKE_SOURCE_DIR}/cmake/changelog.in ${CMAKE_BINARY_DIR}/package/changelog @ONLY)
add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/package/changelog.gz
  COMMAND ${GZIP_PROGRAM} -9nfk ${CMAKE_BINARY_DIR}/package/changelog
  DEPENDS ${CMAKE_BINARY_DIR}/package/changelog)
set(VX_PACKAGE_FILES ${CMAKE_BINARY_DIR}/package/changelog.gz)
install(FILES ${CMAKE_BINARY_DIR}/package/changelog.gz DESTINATION ${VX_DOC_DIR})

set(VX_MAN_PAGES vexalo-cli)
if(TARGET vexalo)
  list(APPEND VX_MAN_PAGES vexalo)
endif()
find_program(SCDOC_PROGRAM scdoc)
if(SCDOC_PROGRAM)
  foreach(page ${VX_MAN_PAGES})
    set(source ${CMAKE_SOURCE_DIR}/docs/${page}.1.scd)
    set(output ${CMAKE_BINARY_DIR}/man/${page}.1.gz)
    add_custom_command(OUTPUT ${output}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/man
      COMMAND sh -c "\"$0\" < \"$1\" | \"$2\" -9n > \"$3\"" ${SCDOC_PROGRAM} ${source} ${GZIP_PROGRAM} ${output}
      DEPENDS ${source}
      COMMENT "Manual page ${page}(1)"
      VERBATIM)
    list(APPEND VX_PACKAGE_FILES ${output})
    install(FILES ${output} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  endforeach()
else()
  message(WARNING "scdoc not found: the manual pages are not built")
endif()
add_custom_target(vx_package_files ALL DEPENDS ${VX_PACKAGE_FILES})

if(TARGET vexalo)
  install(TARGETS vexalo RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(TARGETS vexalo-cli-gl RUNTIME DESTINATION ${CMAKE_INSTALL_LIBEXECDIR}/vexalo)
  set(VX_APP_ID io.github.vexalo.Vexalo)
  install(FILES ${CMAKE_SOURCE_DIR}/resources/${VX_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  configure_file(${CMAKE_SOURCE_DIR}/resources/${VX_APP_ID}.metainfo.xml.in
                 ${CMAKE_BINARY_DIR}/package/${VX_APP_ID}.metainfo.xml @ONLY)
  install(FILES ${CMAKE_BINARY_DIR}/package/${VX_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
  install(FILES ${CMAKE_SOURCE_DIR}/resources/${VX_APP_ID}.mime.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages
          RENAME ${VX_APP_ID}.xml)
  install(DIRECTORY ${CMAKE_SOURCE_DIR}/resources/icons/hicolor DESTINATION ${CMAKE_INSTALL_DATADIR}/icons)
endif()
