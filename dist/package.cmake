# `make package`: a Debian package of everything `cmake --install` puts in
# place, the programs in /usr/bin. Included from the top folder, where CPack
# must be.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME varnel)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Varnel developers <varnel@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "viewer of Metasequoia models that drops them onto the ground")
string(CONCAT CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Varnel shows 3-D models in the Metasequoia text format (.mqo, .mqoz) as the\n"
    "modeller showed them, and drops them onto a ground plane with a small\n"
    "rigid-body simulation. mqoinfo tells what a model file holds, and\n"
    "varnel-thumbnailer draws the pictures file managers show for them.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
# The libraries the programs link come from dpkg-shlibdeps; EGL, Mesa's EGL
# and its drivers are loaded by name as the programs run, so they are named
# here.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libegl1, libegl-mesa0, libgl1-mesa-dri")
include(CPack)
