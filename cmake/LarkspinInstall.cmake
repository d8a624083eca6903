# What gets installed, in two layouts from the same build.
#
# `cmake --install` (make install) fills a prefix of its own: the program
# with its data/ folder beside it (where the host looks for it) in
# lib/larkspin, and the launcher in bin/.
#
# The Debian package (make package, cmake/LarkspinPackage.cmake) follows
# the layout of Debian games: the launcher in /usr/games, the program in
# /usr/lib/games/larkspin (it is not meant to be started by hand, it keeps
# its records in whatever directory it runs in), its data in
# /usr/share/games/larkspin behind a data link beside the program, the
# licence, changelog and gzipped manual page where Debian expects them.
# Only the package asks for its component, so a plain install leaves it out.
#
# Both carry the desktop entry, the icons and the software-centre entry.
set(LARKSPIN_DESCRIPTION "Fly, shoot rocks apart and bank your gems, alone or with up to three friends")
set(LARKSPIN_SUMMARY "arcade game of ships, rocks and gems for one to four players")
set(LARKSPIN_APP_ID example.larkspin.Larkspin)
set(LARKSPIN_MAINTAINER "The Larkspin developers <larkspin@larkspin.example>")
set(LARKSPIN_TREE_COMPONENT tree)
set(LARKSPIN_DESKTOP_COMPONENT desktop)
set(LARKSPIN_DEBIAN_COMPONENT debian)
set(staging ${PROJECT_BINARY_DIR}/packaging)

# larkspin_install_program(<bindir> <programdir> <component> [EXCLUDE_FROM_ALL])
# The program and a launcher that finds it relative to itself, so the tree
# works under any prefix.
function(larkspin_install_program bindir programdir component)
  file(RELATIVE_PATH LARKSPIN_RELATIVE_PROGRAM /prefix/${bindir} /prefix/${programdir}/larkspin)
  configure_file(${PROJECT_SOURCE_DIR}/packaging/larkspin.in ${staging}/${component}/larkspin @ONLY)
  install(PROGRAMS ${staging}/${component}/larkspin DESTINATION ${bindir}
    COMPONENT ${component} ${ARGN})
  install(TARGETS larkspin RUNTIME DESTINATION ${programdir} COMPONENT ${component} ${ARGN})
endfunction()

# The manual page, the desktop entry and the software-centre entry, configured
# into the build tree with the version and the names above.
foreach(file IN ITEMS larkspin.6 larkspin.desktop larkspin.metainfo.xml)
  configure_file(${PROJECT_SOURCE_DIR}/packaging/${file}.in ${staging}/${file} @ONLY)
endforeach()

# --- make install
larkspin_install_program(${CMAKE_INSTALL_BINDIR} ${CMAKE_INSTALL_LIBDIR}/larkspin
  ${LARKSPIN_TREE_COMPONENT})
install(DIRECTORY ${LARKSPIN_DATA_DIR}/ DESTINATION ${CMAKE_INSTALL_LIBDIR}/larkspin/data
  COMPONENT ${LARKSPIN_TREE_COMPONENT})
install(FILES ${staging}/larkspin.6 DESTINATION ${CMAKE_INSTALL_MANDIR}/man6
  COMPONENT ${LARKSPIN_TREE_COMPONENT})

# --- both
install(FILES ${staging}/larkspin.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications
  RENAME ${LARKSPIN_APP_ID}.desktop COMPONENT ${LARKSPIN_DESKTOP_COMPONENT})
install(FILES ${staging}/larkspin.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo
  RENAME ${LARKSPIN_APP_ID}.metainfo.xml COMPONENT ${LARKSPIN_DESKTOP_COMPONENT})
# The generated icon comes in the game's three picture resolutions.
foreach(pair IN ITEMS "Icon:128" "Icon-hd:256" "Icon-hd2:512")
  string(REPLACE ":" ";" pair "${pair}")
  list(GET pair 0 file)
  list(GET pair 1 size)
  install(FILES ${LARKSPIN_DATA_DIR}/${file}.png
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps RENAME larkspin.png
    COMPONENT ${LARKSPIN_DESKTOP_COMPONENT})
endforeach()

# --- the Debian package
set(debian ${staging}/${LARKSPIN_DEBIAN_COMPONENT})
larkspin_install_program(games lib/games/larkspin ${LARKSPIN_DEBIAN_COMPONENT} EXCLUDE_FROM_ALL)
install(DIRECTORY ${LARKSPIN_DATA_DIR}/ DESTINATION share/games/larkspin
  COMPONENT ${LARKSPIN_DEBIAN_COMPONENT} EXCLUDE_FROM_ALL)
# A relative link: both ends lie under /usr.
file(CREATE_LINK ../../../share/games/larkspin ${debian}/data SYMBOLIC)
install(FILES ${debian}/data DESTINATION lib/games/larkspin
  COMPONENT ${LARKSPIN_DEBIAN_COMPONENT} EXCLUDE_FROM_ALL)

# The copyright file carries LICENSE as a License paragraph: each line
# indented, blank lines written as a lone dot.
file(READ ${PROJECT_SOURCE_DIR}/LICENSE licence)
string(STRIP "${licence}" licence)
string(REPLACE "\n\n" "\n.\n" licence "${licence}")
string(REPLACE "\n" "\n " LARKSPIN_LICENSE_TEXT " ${licence}")
execute_process(COMMAND date -u -R -d ${LARKSPIN_RELEASE_DATE}
  OUTPUT_VARIABLE LARKSPIN_RELEASE_TIME OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
configure_file(${PROJECT_SOURCE_DIR}/packaging/debian/copyright.in ${debian}/copyright @ONLY)
configure_file(${PROJECT_SOURCE_DIR}/packaging/debian/changelog.in ${debian}/changelog @ONLY)

# Debian wants the manual page and the changelog compressed, reproducibly.
set(compressed ${debian}/larkspin.6.gz ${debian}/changelog.gz)
add_custom_command(OUTPUT ${compressed}
  COMMAND gzip -9n -c ${staging}/larkspin.6 > ${debian}/larkspin.6.gz
  COMMAND gzip -9n -c ${debian}/changelog > ${debian}/changelog.gz
  DEPENDS ${staging}/larkspin.6 ${debian}/changelog
  VERBATIM)
add_custom_target(larkspin_debian_docs ALL DEPENDS ${compressed})
install(FILES ${debian}/larkspin.6.gz DESTINATION share/man/man6
  COMPONENT ${LARKSPIN_DEBIAN_COMPONENT} EXCLUDE_FROM_ALL)
install(FILES ${debian}/copyright ${debian}/changelog.gz DESTINATION share/doc/larkspin
  COMPONENT ${LARKSPIN_DEBIAN_COMPONENT} EXCLUDE_FROM_ALL)

include(LarkspinPackage)
