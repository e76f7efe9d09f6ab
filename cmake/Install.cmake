# Install rules: the programs in bin/, the data the build lays beside them in
# share/glamora/, and what a desktop needs to offer the program (menu entry,
# icon, file types, metainfo, manual pages, completion).
set(GLAMORA_APP_ID com.orvane.Glamora)
set(GLAMORA_DIST ${PROJECT_SOURCE_DIR}/dist)

install(TARGETS glamora glamora-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

# Every folder the build lays beside the program (those generated while
# building included) and the data files there, taken from the build folder
# when installing. Left out: the programs, the gallery and the temporary
# files that runs from the build folder make, and face files made by hand
# (".mff": the shipped faces are enciphered).
install(CODE "
  set(from \"${CMAKE_RUNTIME_OUTPUT_DIRECTORY}\")
  # file(INSTALL) puts DESTDIR in front by itself.
  set(to \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_DATADIR}/glamora\")
  file(GLOB entries RELATIVE \"\${from}\" \"\${from}/*\")
  foreach(entry \${entries})
    if(entry STREQUAL \"Preview\" OR entry MATCHES \"^\\\\.\")
      continue()
    endif()
    if(IS_DIRECTORY \"\${from}/\${entry}\")
      file(INSTALL \"\${from}/\${entry}\" DESTINATION \"\${to}\" FILE_PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ
           DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE
           PATTERN \".*\" EXCLUDE PATTERN \"*.mff\" EXCLUDE)
    elseif(EXISTS \"${PROJECT_SOURCE_DIR}/data/\${entry}\")
      file(INSTALL \"\${from}/\${entry}\" DESTINATION \"\${to}\" FILE_PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
    endif()
  endforeach()
  if(NOT EXISTS \"\$ENV{DESTDIR}\${to}/Faces/Modela.eff\")
    message(FATAL_ERROR \"No program data beside the program in \${from}: build the glamora target first\")
  endif()
")

install(FILES ${GLAMORA_DIST}/${GLAMORA_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${GLAMORA_DIST}/${GLAMORA_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${GLAMORA_DIST}/${GLAMORA_APP_ID}.mime.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages
        RENAME ${GLAMORA_APP_ID}.xml)
foreach(size 16 22 24 32 48 64 128 256 512)
  install(FILES ${GLAMORA_DIST}/icons/${size}x${size}/${GLAMORA_APP_ID}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()
install(FILES ${GLAMORA_DIST}/glamora.1 ${GLAMORA_DIST}/glamora-cli.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${GLAMORA_DIST}/glamora-cli.bash-completion DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions
        RENAME glamora-cli)
