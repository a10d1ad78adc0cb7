# Where `cmake --install` and the package put the programs and their desktop files.
# The application id names the desktop entry, the AppStream metainfo and the icon alike.
include(GNUInstallDirs)

set(PELLO_APP_ID io.github.pello.dataeditor)
set(PELLO_DIST_DIR ${PROJECT_SOURCE_DIR}/dist)

if(TARGET pellodata)
  install(TARGETS pellodata RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(FILES ${PELLO_DIST_DIR}/pellodata.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  install(FILES ${PELLO_DIST_DIR}/pellodata.bash-completion
          DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions RENAME pellodata)
endif()

if(TARGET pelledit)
  # The release in the metainfo is the project's version.
  configure_file(${PELLO_DIST_DIR}/${PELLO_APP_ID}.metainfo.xml.in
                 ${PROJECT_BINARY_DIR}/dist/${PELLO_APP_ID}.metainfo.xml @ONLY)
  install(TARGETS pelledit RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(FILES ${PELLO_DIST_DIR}/pelledit.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  install(FILES ${PELLO_DIST_DIR}/${PELLO_APP_ID}.desktop
          DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES ${PROJECT_BINARY_DIR}/dist/${PELLO_APP_ID}.metainfo.xml
          DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
  install(FILES ${PELLO_DIST_DIR}/${PELLO_APP_ID}.xml
          DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages)
  install(FILES ${PELLO_DIST_DIR}/${PELLO_APP_ID}.svg
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
endif()

# The licence, where Debian looks for a package's.
install(FILES ${PROJECT_SOURCE_DIR}/LICENSE
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/pello-data-editor RENAME copyright)
