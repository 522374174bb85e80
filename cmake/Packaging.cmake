# Debian packages of the kit through CPack (`make package`): `mebrox` with the programs, the
# tour and the desktop integration, and `mebrox-dev` with the kit as a library. The version is
# the project's; the libraries the programs need are found by dpkg-shlibdeps from what they
# actually link.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME mebrox)
set(CPACK_PACKAGE_VENDOR "The Mebrox developers")
set(CPACK_PACKAGE_CONTACT "${MEBROX_PACKAGE_CONTACT}")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL Runtime Development)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)

set(CPACK_DEBIAN_RUNTIME_PACKAGE_NAME mebrox)
set(CPACK_DEBIAN_RUNTIME_PACKAGE_SECTION devel)
# Loaded at run time, so dpkg-shlibdeps cannot see them: Qt's window-system plugins, and the
# fonts the kit's forms name.
set(CPACK_DEBIAN_RUNTIME_PACKAGE_DEPENDS "qt6-qpa-plugins")
set(CPACK_DEBIAN_RUNTIME_PACKAGE_RECOMMENDS "fonts-liberation2, xdg-utils")
set(CPACK_COMPONENT_RUNTIME_DESCRIPTION
    "multimedia hypertext applications without writing code
Mebrox is a kit for building multimedia hypertext applications: frames with
hot words that show a note, go to another frame, play a sound or run a
program, clickable pictures and hot areas, sounds with a pause button,
labels with raised or shadowed text, and a bookmark that offers to resume
where the reader left. All behaviour lives in component properties, so a
finished application is a project folder.
.
This package holds mebrox-studio, which designs projects, mebrox-run, which
runs them in windows or headless from an event script, and the tour, an
example that shows every component.")

set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_NAME mebrox-dev)
set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_SECTION libdevel)
set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_SHLIBDEPS OFF)
set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_DEPENDS
    "qt6-base-dev, libsdl2-dev, libsndfile1-dev, zlib1g-dev, pkg-config")
set(CPACK_COMPONENT_DEVELOPMENT_DESCRIPTION
    "multimedia hypertext kit - C++ library
Mebrox is a kit for building multimedia hypertext applications without
writing code. This package holds the kit as static C++20 libraries with their
headers and a CMake package configuration, for programs that run Mebrox
frames themselves: find_package(Mebrox) finds it, and a program links
Mebrox::runtime for what a finished application needs, or Mebrox::kit for
the design-time units as well.")

include(CPack)
