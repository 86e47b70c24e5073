# Installing the game, and its Debian package.
#
#   cmake --install build --prefix /some/where     # a tree: bin/zelvane, share/zelvane/resources, ...
#   cd build && cpack -G DEB                        # build/zelvane_0.4_amd64.deb: /usr/games/zelvane, /usr/share/...
#
# The game finds its resources in ../share/zelvane beside its executable, so an
# installed tree runs from any working folder, and bin/ and games/ both work. Only the game itself and what it
# reads are installed: the tests, benchmarks and fuzzer have no install rules.

include(GNUInstallDirs)

set(ZELVANE_APP_ID org.zelvane.Zelvane)
set(ZELVANE_DATA_DIR ${CMAKE_INSTALL_DATADIR}/zelvane)
set(ZELVANE_PACKAGING_DIR ${PROJECT_SOURCE_DIR}/packaging)

# The installed tree does not carry a copy of the font: resources/sans.ttf is a
# link to the system's DejaVu Sans, which the package depends on.
set(ZELVANE_INSTALLED_FONT /usr/share/fonts/truetype/dejavu/DejaVuSans.ttf
    CACHE FILEPATH "Font that the installed resources/sans.ttf links to")

# The hardening Debian builds its packages with: fortified libc calls and a
# read-only global offset table. Not under the sanitizers, which bring their
# own checks.
if(NOT ZELVANE_SANITIZE)
  target_compile_definitions(zelvane_core PRIVATE $<$<NOT:$<CONFIG:Debug>>:_FORTIFY_SOURCE=2>)
  target_link_options(zelvane PRIVATE LINKER:-z,relro,-z,now)
endif()

install(TARGETS zelvane RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

# From the source tree: the build folder's copy also holds the copied font.
install(DIRECTORY ${PROJECT_SOURCE_DIR}/resources/
        DESTINATION ${ZELVANE_DATA_DIR}/resources
        PATTERN sans.ttf EXCLUDE)

install(CODE "
  set(font_link \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${ZELVANE_DATA_DIR}/resources/sans.ttf\")
  message(STATUS \"Installing: \${font_link} -> ${ZELVANE_INSTALLED_FONT}\")
  file(REMOVE \"\${font_link}\")
  file(CREATE_LINK \"${ZELVANE_INSTALLED_FONT}\" \"\${font_link}\" SYMBOLIC)
  list(APPEND CMAKE_INSTALL_MANIFEST_FILES \"\${font_link}\")
")

install(FILES ${ZELVANE_PACKAGING_DIR}/${ZELVANE_APP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${ZELVANE_PACKAGING_DIR}/${ZELVANE_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
foreach(size 32 64 128 256)
  install(FILES ${ZELVANE_PACKAGING_DIR}/icons/${size}x${size}/${ZELVANE_APP_ID}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()

# Debian wants the manual page and the changelog compressed, at maximum
# compression and without a time stamp, so the package builds the same twice.
find_program(GZIP_EXECUTABLE gzip REQUIRED)
set(ZELVANE_COMPRESSED "")
foreach(doc zelvane.6 changelog)
  set(compressed ${CMAKE_BINARY_DIR}/packaging/${doc}.gz)
  add_custom_command(
    OUTPUT ${compressed}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/packaging
    COMMAND ${CMAKE_COMMAND} -E copy ${ZELVANE_PACKAGING_DIR}/${doc} ${CMAKE_BINARY_DIR}/packaging/${doc}
    COMMAND ${GZIP_EXECUTABLE} -9nf ${CMAKE_BINARY_DIR}/packaging/${doc}
    DEPENDS ${ZELVANE_PACKAGING_DIR}/${doc}
    COMMENT "Compressing ${doc}"
    VERBATIM)
  list(APPEND ZELVANE_COMPRESSED ${compressed})
endforeach()
add_custom_target(packaging_docs ALL DEPENDS ${ZELVANE_COMPRESSED})
add_dependencies(zelvane packaging_docs)

install(FILES ${CMAKE_BINARY_DIR}/packaging/zelvane.6.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
install(FILES ${ZELVANE_PACKAGING_DIR}/copyright ${CMAKE_BINARY_DIR}/packaging/changelog.gz
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/zelvane)

# The Debian package.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME zelvane)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Zelvane developers")
set(CPACK_PACKAGE_CONTACT "The Zelvane developers <dev@zelvane.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "2D action game: a small robot on one wheel against waves of robots")
set(CPACK_PACKAGE_DESCRIPTION
"Zorbi, a small robot on one wheel, drives over the platforms of a level
taller than the window and drops down through it while robots of five kinds
come in waves. He fights them with five weapons and three abilities, earns
experience, and spends it in an upgrade shop every fifth wave.

Three levels; keyboard, mouse on the menus, and game controllers with
vibration.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES TRUE)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS fonts-dejavu-core)

# Debian's rules for the package alone, applied to CPack's staging tree: a
# game's binary lives in /usr/games (an install into a prefix of one's own keeps
# bin/, which is on the user's PATH), a link within /usr is relative, and the
# binary carries no compiler notes.
set(ZELVANE_DEB_STAGING ${CMAKE_BINARY_DIR}/packaging/deb-staging.cmake)
file(CONFIGURE OUTPUT ${ZELVANE_DEB_STAGING} @ONLY CONTENT [=[
if(NOT CPACK_GENERATOR STREQUAL "DEB")
  return()
endif()
set(usr "${CPACK_TEMPORARY_INSTALL_DIRECTORY}@CPACK_PACKAGING_INSTALL_PREFIX@")

file(MAKE_DIRECTORY "${usr}/games")
file(RENAME "${usr}/bin/zelvane" "${usr}/games/zelvane")
file(GLOB left "${usr}/bin/*")
if(NOT left)
  file(REMOVE_RECURSE "${usr}/bin")
endif()
execute_process(COMMAND "@CMAKE_STRIP@" --remove-section=.comment --remove-section=.note "${usr}/games/zelvane"
                COMMAND_ERROR_IS_FATAL ANY)

set(font_link "${usr}/@ZELVANE_DATA_DIR@/resources/sans.ttf")
file(RELATIVE_PATH font_target "@CPACK_PACKAGING_INSTALL_PREFIX@/@ZELVANE_DATA_DIR@/resources" "@ZELVANE_INSTALLED_FONT@")
file(REMOVE "${font_link}")
file(CREATE_LINK "${font_target}" "${font_link}" SYMBOLIC)

# The controller mappings are data the game reads, not documentation.
file(WRITE "${usr}/share/lintian/overrides/zelvane"
     "zelvane: package-contains-documentation-outside-usr-share-doc [usr/@ZELVANE_DATA_DIR@/resources/mapping.txt]\n")
]=])
set(CPACK_PRE_BUILD_SCRIPTS ${ZELVANE_DEB_STAGING})
include(CPack)
