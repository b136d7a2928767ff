# velinor_install_desktop(PROGRAM MIME_XML)
# Installs a program's desktop entry, its file type and its icon (scalable and 48 x 48) into
# the icon theme's folders. The entry is written at install time from desktop/PROGRAM.desktop.in,
# so that its Exec= names the program where it was installed, whatever the prefix given to
# `cmake --install` (quoted and escaped: the prefix may hold blanks, '$', '`', '"' or '\').
include(GNUInstallDirs)

function(velinor_install_desktop program mimeXml)
  set(desktop ${CMAKE_CURRENT_SOURCE_DIR}/desktop)
  install(FILES ${desktop}/${mimeXml} DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages)
  install(FILES ${desktop}/${program}.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
  install(FILES ${desktop}/${program}-48.png DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/48x48/apps
    RENAME ${program}.png)
  install(CODE "
    set(bindir \"${CMAKE_INSTALL_BINDIR}\")
    if(NOT IS_ABSOLUTE \"\${bindir}\")
      set(bindir \"\${CMAKE_INSTALL_PREFIX}/\${bindir}\")
    endif()
    include(\"${CMAKE_SOURCE_DIR}/cmake/VelinorDesktopExec.cmake\")
    velinor_desktop_exec_program(execProgram \"\${bindir}/${program}\")
    file(READ \"${desktop}/${program}.desktop.in\" entry)
    string(REPLACE \"@VELINOR_PROGRAM@\" \"\${execProgram}\" entry \"\${entry}\")
    set(target \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_DATADIR}/applications/${program}.desktop\")
    message(STATUS \"Installing: \${target}\")
    file(WRITE \"\${target}\" \"\${entry}\")
    list(APPEND CMAKE_INSTALL_MANIFEST_FILES \"\${target}\")
  ")
endfunction()
