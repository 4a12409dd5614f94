# `make package`: a .deb of the install layout. Its dependencies are worked out by
# dpkg-shlibdeps from the libraries the programs link against; the Qt platform plugins and the
# sound plugins are loaded at run time, so they are named here.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME dayloom)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Desktop calendar and planner")
set(CPACK_PACKAGE_DESCRIPTION
    "Dayloom keeps events (one-time, all-day, multi-day and recurring, with alarms), a tree of tasks and coloured layers, and shows them in day, week, month and year views.")
set(CPACK_PACKAGE_CONTACT "Dayloom developers <dayloom@localhost>")
set(CPACK_RESOURCE_FILE_LICENSE ${CMAKE_CURRENT_SOURCE_DIR}/LICENSE)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_INSTALL_PREFIX /usr)
# DESTDIR staging keeps CMAKE_INSTALL_PREFIX at /usr, so the menu entry names /usr/bin/dayloom.
set(CPACK_SET_DESTDIR ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "gstreamer1.0-plugins-base, gstreamer1.0-plugins-good")
include(CPack)
