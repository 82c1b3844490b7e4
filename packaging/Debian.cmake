# The Debian package of Fotavel, made by CPack from the install rules:
#   cmake --build build && (cd build && cpack -G DEB)
# gives build/fotavel_VERSION_ARCH.deb, installed under /usr.

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME fotavel)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Fotavel workshop")
set(CPACK_PACKAGE_CONTACT "Fotavel workshop <fotavel@fotavel.example.org>")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${CPACK_PACKAGE_CONTACT})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "photo retoucher with one-click effects")
set(CPACK_PACKAGE_DESCRIPTION
  "Fotavel opens photos and improves them in one click: lighter or darker, more\n"
  "or less colour, blur or sharpen, quarter turns, grey levels, a blue sky for a\n"
  "white one, a logo as a watermark, web size, filters, red eyes, cropping and\n"
  "straightening. It saves JPEG (losslessly turned when it can), PNG, WebP,\n"
  "AVIF, TIFF or BMP, within a file size if asked.\n"
  "\n"
  "fotavel-batch runs the same effects on many photos without a window, and\n"
  "with GNU parallel on many machines. The interface is in French.")
string(JOIN "" CPACK_PACKAGE_DESCRIPTION ${CPACK_PACKAGE_DESCRIPTION})
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://fotavel.example.org/")
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

# The libraries the programs link (Qt, libturbojpeg, exiv2, libheif, libwmf)
# are found by dpkg-shlibdeps in the binaries themselves. What it cannot see
# is loaded by name at run time: Qt opens WebP and TIFF files through its
# image-format plugins, and the French of Qt's own buttons and dialogs
# (qtbase_fr.qm) comes from Qt's translations. Without them those files do
# not open and the dialogs speak English.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-image-formats-plugins, qt6-translations-l10n")

# Debian wants the licence as /usr/share/doc/fotavel/copyright and the manual
# pages compressed; the install rules keep a plain `cmake --install` as it is.
set(CPACK_FOTAVEL_DOCDIR ${FOTAVEL_INSTALL_DOCDIR})
set(CPACK_PRE_BUILD_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/DebianStaging.cmake)

include(CPack)
