# Where `cmake --install` and the package put the programs and their desktop files.
# The application id names the desktop entry, the AppStream metainfo and the icon alike.
include(GNUInstallDirs)

set(PELLO_APP_ID io.github.pello.dataeditor)
set(PELLO_DIST_DIR ${PROJECT_SOURCE_DIR}/dist)
set(PELLO_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/pello-data-editor)

# Manual pages and the changelog go out compressed, as Debian wants them; -n keeps the
# name and time out of the header, so the same page gives the same bytes.
function(pello_gzip source output)
  add_custom_command(OUTPUT ${output}
                     COMMAND gzip -9 -n -c ${source} > ${output}
                     DEPENDS ${source} VERBATIM)
endfunction()

configure_file(${PELLO_DIST_DIR}/changelog.in ${PROJECT_BINARY_DIR}/dist/changelog @ONLY)
set(pello_compressed ${PROJECT_BINARY_DIR}/dist/changelog.gz)
pello_gzip(${PROJECT_BINARY_DIR}/dist/changelog ${PROJECT_BINARY_DIR}/dist/changelog.gz)
foreach(program pelledit pellodata)
  if(TARGET ${program})
    pello_gzip(${PELLO_DIST_DIR}/${program}.1 ${PROJECT_BINARY_DIR}/dist/${program}.1.gz)
    pello_gzip(${PELLO_DIST_DIR}/ja/${program}.1 ${PROJECT_BINARY_DIR}/dist/ja/${program}.1.gz)
    list(APPEND pello_compressed ${PROJECT_BINARY_DIR}/dist/${program}.1.gz
         ${PROJECT_BINARY_DIR}/dist/ja/${program}.1.gz)
    install(FILES ${PROJECT_BINARY_DIR}/dist/${program}.1.gz
            DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
    install(FILES ${PROJECT_BINARY_DIR}/dist/ja/${program}.1.gz
            DESTINATION ${CMAKE_INSTALL_MANDIR}/ja/man1)
  endif()
endforeach()
file(MAKE_DIRECTORY ${PROJECT_BINARY_DIR}/dist/ja)
add_custom_target(pello_dist_files ALL DEPENDS ${pello_compressed})

if(TARGET pellodata)
  install(TARGETS pellodata RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  if(TARGET pellodata-desktop)
    install(TARGETS pellodata-desktop
            RUNTIME DESTINATION ${CMAKE_INSTALL_LIBEXECDIR}/pello-data-editor)
  endif()
  install(FILES ${PELLO_DIST_DIR}/pellodata.bash-completion
          DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions RENAME pellodata)
endif()

if(TARGET pelledit)
  # The release in the metainfo is the project's version.
  configure_file(${PELLO_DIST_DIR}/${PELLO_APP_ID}.metainfo.xml.in
                 ${PROJECT_BINARY_DIR}/dist/${PELLO_APP_ID}.metainfo.xml @ONLY)
  install(TARGETS pelledit RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(FILES ${PELLO_DIST_DIR}/${PELLO_APP_ID}.desktop
          DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES ${PROJECT_BINARY_DIR}/dist/${PELLO_APP_ID}.metainfo.xml
          DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
  install(FILES ${PELLO_DIST_DIR}/${PELLO_APP_ID}.xml
          DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages)
  install(FILES ${PELLO_DIST_DIR}/${PELLO_APP_ID}.svg
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
  install(FILES ${PELLO_DIST_DIR}/application-x-pello-launch-list.svg
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/mimetypes)

  # Installed straight onto a system (no DESTDIR), the desktop learns of the new type,
  # entry and icons at once; a package leaves that to the system's own triggers.
  install(CODE "
    if(\"\$ENV{DESTDIR}\" STREQUAL \"\")
      set(share \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_DATADIR}\")
      foreach(step \"update-mime-database;\${share}/mime\"
                   \"update-desktop-database;-q;\${share}/applications\"
                   \"gtk-update-icon-cache;-q;-t;-f;\${share}/icons/hicolor\")
        list(POP_FRONT step tool)
        find_program(pello_tool_\${tool} \${tool})
        if(pello_tool_\${tool})
          list(JOIN step \" \" shown)
          message(STATUS \"Running: \${tool} \${shown}\")
          execute_process(COMMAND \${pello_tool_\${tool}} \${step})
        endif()
      endforeach()
    endif()")
endif()

# The licence and the changelog, where Debian looks for a package's.
install(FILES ${PROJECT_SOURCE_DIR}/LICENSE DESTINATION ${PELLO_DOC_DIR} RENAME copyright)
install(FILES ${PROJECT_BINARY_DIR}/dist/changelog.gz DESTINATION ${PELLO_DOC_DIR})
