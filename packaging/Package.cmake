# The Debian package: `cpack -G DEB` in the build folder makes quorvex_VERSION_ARCH.deb.
set(QUORVEX_DOC_FILES ${CMAKE_CURRENT_BINARY_DIR}/packaging)
file(MAKE_DIRECTORY ${QUORVEX_DOC_FILES})
# Debian wants the changelog compressed, reproducibly (no name, no time stamp).
add_custom_command(OUTPUT ${QUORVEX_DOC_FILES}/changelog.gz
    COMMAND gzip -9n --stdout ${PROJECT_SOURCE_DIR}/packaging/changelog > ${QUORVEX_DOC_FILES}/changelog.gz
    DEPENDS ${PROJECT_SOURCE_DIR}/packaging/changelog
    VERBATIM)
add_custom_target(package_changelog ALL DEPENDS ${QUORVEX_DOC_FILES}/changelog.gz)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/copyright ${QUORVEX_DOC_FILES}/changelog.gz
    DESTINATION ${CMAKE_INSTALL_DOCDIR})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quorvex)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Quorvex developers")
set(CPACK_PACKAGE_CONTACT "Quorvex developers <developers@quorvex.net>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "floating translation window with a Chinese interface")
set(CPACK_PACKAGE_DESCRIPTION
    "Quorvex is a small translation window with a Simplified Chinese interface.
Text typed, pasted or copied in any program is translated at once between
Chinese, English, Japanese, French, Spanish and Arabic through an ordered
chain of services (OpenCC and Apertium offline; Google, LibreTranslate and
Baidu online), and short texts show a dictionary entry (CC-CEDICT, FreeDict,
DICT servers). The window floats above others, docks at the top of the
screen and lives in the notification area.")
set(CPACK_PACKAGE_INSTALL_DIRECTORY quorvex)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://quorvex.net/)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# Loaded by name at run time, so dpkg-shlibdeps cannot see them: the X11 platform plugin, the
# SVG icon plugin and the web engine's renderer process.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, libqt6svg6, libqt6webenginecore6-bin")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS
    "fonts-wqy-microhei, qt6-translations-l10n, apertium-eng-spa, dict-freedict-eng-spa, dict-freedict-eng-fra, dict-freedict-fra-eng, dict-freedict-jpn-eng")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "dictd")
include(CPack)
