# A Debian package of the installed files: after building the installed targets
#   cmake --build build --target kesto32 wrar size
# cpack -G DEB in the build directory writes kesto32_<version>-<revision>_<arch>.deb.
# Installing (and so packaging) does not build the test programs first: a package build takes
# the program and its helpers only.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kesto32)
set(CPACK_PACKAGE_VENDOR "Kesto32 developers")
set(CPACK_PACKAGE_CONTACT "Kesto32 developers <developers@kesto32.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "package a directory tree into a series of size-limited zip archives")
# Lines of at most 80 characters: the package managers show the text as it is wrapped here.
string(CONCAT CPACK_PACKAGE_DESCRIPTION
  "Kesto32 cuts one source directory tree, less a skip list, into 7-Zip volumes\n"
  "of a chosen size and wraps each volume into a zip archive of its own with a\n"
  "numbered file_id.diz, an .nfo and an optional extra. Jobs are edited in a\n"
  "window, saved as .kst scripts and can run unattended from the command line.")
set(CPACK_PACKAGE_INSTALL_DIRECTORY kesto32)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# The revision is the one data/debian/changelog starts with.
set(CPACK_DEBIAN_PACKAGE_RELEASE ${KESTO_DEBIAN_REVISION})
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${CPACK_PACKAGE_CONTACT}")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
if(KESTO_HOMEPAGE)
  set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${KESTO_HOMEPAGE})
endif()
# Shared libraries found by dpkg-shlibdeps (Debian package dpkg-dev); 7-Zip is run, not linked.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS 7zip)
# Recommended: Qt's own catalogues, without which the buttons of message boxes and file dialogs
# stay English in a translated window (one package of data files, no dependencies); par2, which
# writes the recovery set of --recovery (without it the program says to install it). Only
# suggested: unzip (the program never runs it; recipients do, and so may the user to look into a
# series) and xdg-utils (xdg-open is only the last choice of editor, after KESTO32_EDITOR and
# VISUAL; every desktop task installs it already, while on a bare system recommending it pulled
# in some 47 packages).
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n, par2")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "unzip, xdg-utils")

# lintian on the package (tools/check-package.sh, in CI) reports no error. What it still says:
# - W initial-upload-closes-no-bugs: the package is not uploaded to Debian's archive, so no
#   bug asks for it.
# - I hardening-no-bindnow, hardening-no-fortify-functions: the build uses CMake's flags, not
#   dpkg-buildflags.
# - I binary-has-unneeded-section: CPack strips debug data but keeps the .comment section.
# - I extended-description-is-probably-too-short: the text above says what the program does.
include(CPack)
