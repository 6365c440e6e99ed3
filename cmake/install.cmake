# Installation under any prefix and the Debian package.
include(GNUInstallDirs)

set(ZENDOR_APP_ID example.zendor_vostrik.ZendorVostrik)
set(ZENDOR_SHARED_DIR ${CMAKE_INSTALL_DATADIR}/zendor-vostrik)
set(ZENDOR_DOC_DIR ${CMAKE_INSTALL_DATAROOTDIR}/doc/zendor-vostrik)
# Games' programs go to <prefix>/games, where Debian and the FHS keep them (on a user's PATH).
set(ZENDOR_INSTALL_GAMESDIR games CACHE STRING "Where the game's programs are installed, under the prefix")

# The installed programs find the shipped files from their own folder, whatever the prefix.
file(RELATIVE_PATH ZENDOR_SHARED_FROM_BIN /root/${ZENDOR_INSTALL_GAMESDIR} /root/${ZENDOR_SHARED_DIR})
set_property(SOURCE ${CMAKE_SOURCE_DIR}/src/app/program_folder.cpp APPEND PROPERTY
             COMPILE_DEFINITIONS ZENDOR_SHARED_DATA_FROM_BIN="${ZENDOR_SHARED_FROM_BIN}")
# Their windows carry the desktop entry's name as their class: a desktop shows them under the entry.
set_property(SOURCE ${CMAKE_SOURCE_DIR}/src/platform/sdl/sdl_presenter.cpp APPEND PROPERTY
             COMPILE_DEFINITIONS ZENDOR_DESKTOP_ID="${ZENDOR_APP_ID}")

# Icons cut from the game's own art.
add_executable(zendor-icons tools/icons/main.cpp)
target_link_libraries(zendor-icons PRIVATE zendor_core)
set(ZENDOR_ICON_DIR ${CMAKE_BINARY_DIR}/icons/hicolor)
set(ZENDOR_ICON_STAMP ${CMAKE_BINARY_DIR}/icons/.stamp)
add_custom_command(
  OUTPUT ${ZENDOR_ICON_STAMP}
  COMMAND zendor-icons ${ZENDOR_GAME_DIR} ${ZENDOR_ICON_DIR} ${ZENDOR_APP_ID}
  COMMAND ${CMAKE_COMMAND} -E touch ${ZENDOR_ICON_STAMP}
  DEPENDS zendor-icons
  COMMENT "Drawing the desktop icons")
add_custom_target(icons ALL DEPENDS ${ZENDOR_ICON_STAMP})
add_dependencies(icons game_files)  # the panel picture it is cut from

# Manual pages and the change log are installed compressed, as manuals and Debian expect.
set(ZENDOR_GZIPPED_DIR ${CMAKE_BINARY_DIR}/gzipped)
set(ZENDOR_GZIPPED)
foreach(source docs/man/zendor.6 docs/man/zendor-setup.6 dist/changelog)
  get_filename_component(name ${source} NAME)
  set(output ${ZENDOR_GZIPPED_DIR}/${name}.gz)
  add_custom_command(
    OUTPUT ${output}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${ZENDOR_GZIPPED_DIR}
    COMMAND gzip -9n -c ${CMAKE_SOURCE_DIR}/${source} > ${output}
    DEPENDS ${CMAKE_SOURCE_DIR}/${source}
    COMMENT "Compressing ${name}")
  list(APPEND ZENDOR_GZIPPED ${output})
endforeach()
add_custom_target(gzipped_docs ALL DEPENDS ${ZENDOR_GZIPPED})

install(TARGETS zendor zendor-setup RUNTIME DESTINATION ${ZENDOR_INSTALL_GAMESDIR})
install(DIRECTORY ${ZENDOR_GAME_DIR}/ART ${ZENDOR_GAME_DIR}/SND ${ZENDOR_GAME_DIR}/MUS
        DESTINATION ${ZENDOR_SHARED_DIR})
install(FILES ${ZENDOR_GAME_DIR}/zendor.map "${CMAKE_SOURCE_DIR}/data/Zendor Vostrik.INI"
              ${CMAKE_SOURCE_DIR}/data/Brinmoor.INI
        DESTINATION ${ZENDOR_SHARED_DIR})
install(FILES dist/${ZENDOR_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES dist/${ZENDOR_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(DIRECTORY ${ZENDOR_ICON_DIR} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons
        PATTERN .stamp EXCLUDE)
install(FILES ${ZENDOR_GZIPPED_DIR}/zendor.6.gz ${ZENDOR_GZIPPED_DIR}/zendor-setup.6.gz
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
install(FILES dist/copyright ${ZENDOR_GZIPPED_DIR}/changelog.gz DESTINATION ${ZENDOR_DOC_DIR})

# The replay runner, for checking an installation; not part of the package.
install(TARGETS zendor-replay RUNTIME DESTINATION ${ZENDOR_INSTALL_GAMESDIR} COMPONENT replay
        EXCLUDE_FROM_ALL)

set(CPACK_PACKAGE_NAME zendor-vostrik)
set(CPACK_PACKAGE_VENDOR "Zendor Vostrik XXI developers")
set(CPACK_PACKAGE_CONTACT "Zendor Vostrik XXI developers <equipo@zendor-vostrik.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "2D side-scrolling action game on an alien world at night")
# One paragraph in lines of less than 80 characters.
set(CPACK_PACKAGE_DESCRIPTION
    "Zendor, in his space suit, crash-lands on an alien world at night. Walk, jump,
crouch, shoot and fight through one long level full of lava, chasms, floating
islands and five kinds of creatures. Comes with zendor-setup for the display,
difficulty and sound.")
set(CPACK_PACKAGE_HOMEPAGE_URL "https://zendor-vostrik.example")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_GENERATOR DEB)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The libraries follow from the programs themselves; the SoundFont is data the music needs.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fluid-soundfont-gm | sf2-soundfont-gm")
set(CPACK_STRIP_FILES ON)
include(CPack)
