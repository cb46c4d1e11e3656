# Read by cpack for each package: the Maintainer field comes from the build's settings.
if(CPACK_GENERATOR STREQUAL "DEB" AND NOT CPACK_DEBIAN_PACKAGE_MAINTAINER)
  message(FATAL_ERROR "The package needs a maintainer: configure with "
                      "-DLORVAN_PACKAGE_MAINTAINER=\"Your Name <you@example.org>\" "
                      "(or set DEBFULLNAME and DEBEMAIL, or git's user.name and user.email)")
endif()
