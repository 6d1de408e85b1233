# cpack -G DEB (scripts/package): velmora_<version>_amd64.deb of what
# `cmake --install` puts under /usr, its library dependencies found by
# dpkg-shlibdeps, so that apt installs the Qt libraries it needs and no more.
set(CPACK_PACKAGE_NAME velmora)
set(CPACK_PACKAGE_VENDOR "Orvane Information Systems Ltd.")
set(CPACK_PACKAGE_CONTACT "Orvane Information Systems Ltd. <support@orvane.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "rescue the files of CD-ROMs the system can no longer read")
set(CPACK_PACKAGE_DESCRIPTION
    "Orvane Velmora CDROM reads the ISO 9660 file system of scratched, half-burnt and
multi-session CD-ROMs, and of their image files, where the operating system no
longer shows them, and rescues every byte of their files that still reads, with
an account of what did not. The desktop program is velmora, the command-line
tool velmora-cli.")
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION otherosfs)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://www.orvane.example/")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS OFF)
# The program links no SVG library, but its icons are drawn by Qt's SVG
# plugins, which libqt6svg6 holds (the X11 platform plugin comes with libqt6gui6).
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6svg6")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "bash-completion, gddrescue")

include(CPack)
