# A Debian package of the installed files: cpack -G DEB in the build directory writes
# kesto32_<version>_<arch>.deb.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kesto32)
set(CPACK_PACKAGE_VENDOR "Kesto32 developers")
set(CPACK_PACKAGE_CONTACT "Kesto32 developers <developers@kesto32.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "package a directory tree into a series of size-limited zip archives")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
  "Kesto32 cuts one source directory tree, less a skip list, into 7-Zip volumes of a chosen "
  "size and wraps each volume into a zip archive of its own with a numbered file_id.diz, an "
  ".nfo and an optional extra. Jobs are edited in a window, saved as .kst scripts and can run "
  "unattended from the command line.")
set(CPACK_PACKAGE_INSTALL_DIRECTORY kesto32)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${CPACK_PACKAGE_CONTACT}")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${KESTO_HOMEPAGE})
# Shared libraries found by dpkg-shlibdeps (Debian package dpkg-dev); 7-Zip is run, not linked.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS 7zip)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "unzip, xdg-utils")

include(CPack)
