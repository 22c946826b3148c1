# The Debian package (`cpack -G DEB`, run by scripts/package): everything `cmake --install`
# puts under the prefix, installed under /usr.
set(CPACK_PACKAGE_NAME ondrel-metronome)
set(CPACK_PACKAGE_VENDOR "Ondrel Metronome developers")
set(CPACK_PACKAGE_CONTACT "Ondrel Metronome developers <metronome@ondrel.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "skinnable practice metronome with a chromatic tuner")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
    "A desktop metronome whose clicks are exact to the sample at any tempo from 10 to 5000\n"
    "beats per minute, with a chromatic instrument tuner on a second screen. The whole\n"
    "interface is a skin of XML documents and pictures.")
set(CPACK_PACKAGE_HOMEPAGE_URL ${ONDREL_HOMEPAGE})
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/skin/docs/LICENSE.txt)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
# The libraries the program links are found by dpkg-shlibdeps; libsndfile, libcurl,
# PortAudio and librsvg are opened at run time, so nothing names them in the binary.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libsndfile1, libcurl4, libportaudio2, librsvg2-2")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-inter, fonts-dejavu-core, xdg-utils")

include(CPack)
