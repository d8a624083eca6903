# What `cmake --install` puts into a prefix: the program with its data/
# folder beside it (where the host looks for it), a launcher on the PATH that
# starts it from a writable state directory, a desktop entry and the icon.
set(LARKSPIN_PROGRAM_DIR ${CMAKE_INSTALL_LIBDIR}/larkspin)
set(LARKSPIN_DESCRIPTION "Fly, shoot rocks apart and bank your gems, alone or with up to three friends")

install(DIRECTORY ${LARKSPIN_DATA_DIR}/ DESTINATION ${LARKSPIN_PROGRAM_DIR}/data)

# The launcher finds the program relative to itself, so the tree can be
# installed under any prefix.
file(RELATIVE_PATH LARKSPIN_RELATIVE_PROGRAM
  /prefix/${CMAKE_INSTALL_BINDIR} /prefix/${LARKSPIN_PROGRAM_DIR}/larkspin)
configure_file(${PROJECT_SOURCE_DIR}/packaging/larkspin.in
  ${PROJECT_BINARY_DIR}/packaging/larkspin @ONLY)
install(PROGRAMS ${PROJECT_BINARY_DIR}/packaging/larkspin DESTINATION ${CMAKE_INSTALL_BINDIR})

configure_file(${PROJECT_SOURCE_DIR}/packaging/larkspin.desktop.in
  ${PROJECT_BINARY_DIR}/packaging/larkspin.desktop @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/packaging/larkspin.desktop
  DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)

# The generated icon comes in the game's three picture resolutions.
foreach(pair IN ITEMS "Icon:128" "Icon-hd:256" "Icon-hd2:512")
  string(REPLACE ":" ";" pair "${pair}")
  list(GET pair 0 file)
  list(GET pair 1 size)
  install(FILES ${LARKSPIN_DATA_DIR}/${file}.png
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps RENAME larkspin.png)
endforeach()
