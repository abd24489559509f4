# A Debian package of what `cmake --install` installs: `cpack -G DEB` in the build folder. The program's
# binary is stripped; the libraries it needs come from dpkg-shlibdeps, the rest is listed by hand.
set(CPACK_PACKAGE_NAME kivclock)
set(CPACK_PACKAGE_VENDOR "Kiv Clock")
set(CPACK_PACKAGE_CONTACT "Kiv Clock <maintainers@kivclock.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "desktop clock with colour rings for the hours, minutes and seconds")
set(CPACK_PACKAGE_DESCRIPTION "Kiv Clock shows named clocks on the desktop, each a round translucent window
with rings for the hours, minutes and seconds, its own time zone, colours and alarms.")
set(CPACK_PACKAGE_HOMEPAGE_URL "https://kivclock.org/")
set(CPACK_PACKAGE_INSTALL_DIRECTORY kivclock)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION x11)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Loaded at run time, so dpkg-shlibdeps cannot see them: the sound backend's plugins, the
# fonts the face and the Chinese interface are drawn with, and the time-zone data.
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "gstreamer1.0-plugins-base, fonts-liberation2, fonts-wqy-microhei | fonts-noto-cjk, tzdata")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "pulseaudio | pipewire-pulse")
set(CPACK_GENERATOR DEB)
include(CPack)
