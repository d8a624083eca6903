# `make package`: the Debian package larkspin_<version>_<arch>.deb, built by
# CPack from the desktop and Debian install components of
# cmake/LarkspinInstall.cmake. The run-time dependencies come from the
# libraries the program links (dpkg-shlibdeps), not from a list kept by hand.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME larkspin)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT ${LARKSPIN_MAINTAINER})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY ${LARKSPIN_SUMMARY})
# The long description, wrapped for dpkg as Debian wants it.
set(CPACK_PACKAGE_DESCRIPTION [[
Coloured ships fly over a field of drifting rocks seen from above, shoot
them apart, pick up the gems that fall out and fly them home to score.
One to four players share one screen, on the keyboard or on game
controllers; the computer flies the other ships. Six modes: Time Attack,
Three Lives, Survival and battles of two, three or four ships.]])
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
  OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_GROUPING ALL_COMPONENTS_IN_ONE)
set(CPACK_COMPONENTS_ALL ${LARKSPIN_DESKTOP_COMPONENT} ${LARKSPIN_DEBIAN_COMPONENT})

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)

include(CPack)
