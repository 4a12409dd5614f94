# Install layout: both programs in bin/ (dayloom starts dayloom-alarm from its own folder),
# the menu entry in share/applications and the icon in the hicolor theme. The help is compiled
# into the program, so nothing else is installed.
include(GNUInstallDirs)

install(TARGETS dayloom RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
if(TARGET dayloom-alarm)
  install(TARGETS dayloom-alarm RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()

# The menu entry names the program by its installed path, which is known only when installing
# (cmake --install --prefix, or the package's /usr).
install(CODE "
  set(DAYLOOM_DESKTOP_EXEC \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/dayloom\")
  configure_file(\"${CMAKE_CURRENT_SOURCE_DIR}/resources/dayloom.desktop.in\"
                 \"${CMAKE_CURRENT_BINARY_DIR}/desktop/dayloom.desktop\" @ONLY)
  file(INSTALL \"${CMAKE_CURRENT_BINARY_DIR}/desktop/dayloom.desktop\"
       DESTINATION \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_DATADIR}/applications\")
")

set(_icons ${CMAKE_CURRENT_SOURCE_DIR}/resources/icons)
install(FILES ${_icons}/dayloom.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
foreach(size 16 22 24 32 48 64 128 256)
  install(FILES ${_icons}/dayloom-${size}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
          RENAME dayloom.png)
endforeach()
