# `cpack -G DEB` in a Release build makes the Debian package from the
# install rules of cmake/Install.cmake; tools/package_check.sh checks it.
set(CPACK_PACKAGE_NAME vexalo)
set(CPACK_PACKAGE_VENDOR "The Vexalo developers")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "mathematics workbench with an expression language and plots")
# The summary is the synopsis line; this is the extended description.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Vexalo computes with complex numbers, lists and matrices: number theory,
polynomials, linear algebra, statistics and calculus, with the user's own
variables, functions and coordinate systems. Plot commands draw explicit,
parametric and implicit curves and surfaces, tubes, space curves, vector
fields and drawings in 2D and 3D, which can be exported as OBJ or PNG.
.
The package holds the desktop program vexalo and the terminal runner
vexalo-cli for scripts.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_GENERATOR DEB)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${VX_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION math)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${VX_HOMEPAGE}")
# Depends comes from the libraries the programs link (dpkg-shlibdeps).
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
include(CPack)
