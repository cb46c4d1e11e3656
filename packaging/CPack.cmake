# The .deb: the program folder under /opt/lorvan, the service's unit, user, folder ownership
# and polkit rule in the system's folders; the programs stripped.
set(LORVAN_PACKAGE_MAINTAINER "" CACHE STRING
    "The .deb's Maintainer field, \"Name <address>\" (default: DEBFULLNAME and DEBEMAIL, else git's user)")
if(NOT LORVAN_PACKAGE_MAINTAINER)
  # Whoever builds the package maintains it: the Debian tools' settings, else git's.
  set(name "$ENV{DEBFULLNAME}")
  set(address "$ENV{DEBEMAIL}")
  find_program(GIT_PROGRAM git)
  if(NOT address AND GIT_PROGRAM)
    execute_process(COMMAND ${GIT_PROGRAM} config user.email WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
                    OUTPUT_VARIABLE address OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
    execute_process(COMMAND ${GIT_PROGRAM} config user.name WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
                    OUTPUT_VARIABLE name OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
  endif()
  if(address)
    string(STRIP "${name} <${address}>" maintainer)
    set_property(CACHE LORVAN_PACKAGE_MAINTAINER PROPERTY VALUE "${maintainer}")
  endif()
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME lorvan)
set(CPACK_PACKAGE_VENDOR "The Lorvan developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Music box control: mpv driven by a remote, state on a KS0108 LCD")
set(CPACK_PACKAGING_INSTALL_PREFIX /opt/lorvan)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${LORVAN_PACKAGE_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "mpv, systemd, polkitd")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "espeak-ng")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${PROJECT_SOURCE_DIR}/packaging/postinst ${PROJECT_SOURCE_DIR}/packaging/prerm
    ${PROJECT_SOURCE_DIR}/packaging/postrm)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# A package without a maintainer is refused with the setting to give, when cpack runs.
set(CPACK_PROJECT_CONFIG_FILE ${PROJECT_SOURCE_DIR}/packaging/check-maintainer.cmake)
include(CPack)
