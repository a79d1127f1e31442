# What `cmake --install` and `cpack -G DEB` deliver: the program, its desktop entry, icons,
# AppStream metadata, man page and the database template that each user's copy starts from.

set(BRIMBLE_APP_ID org.brimble.brimble)
set(BRIMBLE_ICON_SIZES 16 22 24 32 48 64 128 256)
set(icons_svg ${PROJECT_SOURCE_DIR}/assets/icons)
set(icons_out ${PROJECT_BINARY_DIR}/icons)

# PNGs for the hicolor theme, made from the SVGs: the small drawing below 32 pixels, where the
# large one's details would blur.
set(delivered_files)
foreach(size IN LISTS BRIMBLE_ICON_SIZES)
  if(size LESS 32)
    set(svg ${icons_svg}/brimble-small.svg)
  else()
    set(svg ${icons_svg}/brimble.svg)
  endif()
  set(png ${icons_out}/${size}x${size}/brimble.png)
  add_custom_command(OUTPUT ${png}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${icons_out}/${size}x${size}
    COMMAND brimble-iconpng ${svg} ${size} ${png}
    DEPENDS brimble-iconpng ${svg}
    VERBATIM)
  list(APPEND delivered_files ${png})
  install(FILES ${png} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()

# The template is made afresh, apart from build/bm.mdb, which holds whatever the developer
# typed while running the build.
set(template ${PROJECT_BINARY_DIR}/template/bm.mdb)
add_custom_command(OUTPUT ${template}
  COMMAND ${CMAKE_COMMAND} -E rm -f ${template}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${PROJECT_BINARY_DIR}/template
  COMMAND brimble-makedb ${template}
  DEPENDS brimble-makedb
  VERBATIM)
list(APPEND delivered_files ${template})
add_custom_target(delivered-files ALL DEPENDS ${delivered_files})

install(TARGETS brimble RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${template} DESTINATION ${CMAKE_INSTALL_DATADIR}/brimble)
install(FILES packaging/${BRIMBLE_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES packaging/${BRIMBLE_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${icons_svg}/brimble.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES packaging/brimble.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

set(CPACK_PACKAGE_NAME brimble)
set(CPACK_PACKAGE_VENDOR "Brimble!")
set(CPACK_PACKAGE_CONTACT "The Brimble! developers <maintainers@users.noreply.c-seed-c3ed4141.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "desktop reminder with rich-text memos that pop up when due")
set(CPACK_PACKAGE_DESCRIPTION "Brimble! keeps short rich-text memos with a due date and time and
pops each one up on the desktop when it falls due. It waits in the notification area.")
set(CPACK_STRIP_FILES ON)
set(CPACK_GENERATOR DEB)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Loaded at run time, so dpkg-shlibdeps cannot see it: the platform plugin that draws windows.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "sqlcipher")
include(CPack)
