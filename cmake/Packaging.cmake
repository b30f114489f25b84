# What `cmake --install` lays out and what `cpack -G DEB` packs.
#
# The game finds its dictionaries, sounds and help file beside its own executable, so it is
# installed as one folder, <prefix>/lib/pellinoraxis, holding the executable and every data file,
# and started through a relative symbolic link in <prefix>/bin. The link is safe: the program
# takes its folder from the resolved path of the running executable, not from the command's path.
# The dictionary tools are ordinary commands in <prefix>/bin. On Linux desktops the entry, the
# software-centre description and the icons go to <prefix>/share.
include(GNUInstallDirs)

set(PELLIN_APP_ID example.corvane.Pellinoraxis)
if(WIN32)
  # A Windows installation is the one flat folder the program expects.
  set(pellin_programdir_default ${CMAKE_INSTALL_BINDIR})
else()
  set(pellin_programdir_default lib/pellinoraxis)
endif()
set(PELLIN_INSTALL_PROGRAMDIR ${pellin_programdir_default}
    CACHE STRING "Folder under the prefix that holds the game with its data files")

# Qt's project setup gives every target a run path of $ORIGIN and $ORIGIN/../lib for installed
# shared libraries of its own; these programs and the sound module link only the system's
# libraries, and a search path into their own folders would only widen where the loader looks.
foreach(target pellinoraxis pellinoraxis-sound tsdmake tsddump)
  if(TARGET ${target})
    set_target_properties(${target} PROPERTIES INSTALL_RPATH "")
  endif()
endforeach()

if(TARGET pellinoraxis)
  install(TARGETS pellinoraxis RUNTIME DESTINATION ${PELLIN_INSTALL_PROGRAMDIR})
  # The sound output, which the program loads from its own folder when it first needs it.
  if(TARGET pellinoraxis-sound)
    install(TARGETS pellinoraxis-sound
            LIBRARY DESTINATION ${PELLIN_INSTALL_PROGRAMDIR}
            RUNTIME DESTINATION ${PELLIN_INSTALL_PROGRAMDIR})
  endif()

  # The same files the build copies beside the executables.
  file(GLOB pellin_game_data CONFIGURE_DEPENDS
       ${PROJECT_SOURCE_DIR}/data/*.tsd
       ${PROJECT_SOURCE_DIR}/data/*.letters
       ${PROJECT_SOURCE_DIR}/data/*.wav
       ${PROJECT_SOURCE_DIR}/data/*.hlp)
  install(FILES ${pellin_game_data} DESTINATION ${PELLIN_INSTALL_PROGRAMDIR})

  if(UNIX)
    # A relative link keeps the installed tree relocatable: staged by DESTDIR or CPack, or
    # unpacked anywhere with dpkg -x, it still points at the program in the same tree.
    set(pellin_bindir ${CMAKE_INSTALL_BINDIR})
    set(pellin_programdir ${PELLIN_INSTALL_PROGRAMDIR})
    foreach(var pellin_bindir pellin_programdir)
      if(NOT IS_ABSOLUTE ${${var}})
        set(${var} ${CMAKE_INSTALL_PREFIX}/${${var}})
      endif()
    endforeach()
    file(RELATIVE_PATH pellin_link_target ${pellin_bindir} ${pellin_programdir}/pellinoraxis)
    set(pellin_link ${CMAKE_CURRENT_BINARY_DIR}/install-link/pellinoraxis)
    file(MAKE_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}/install-link)
    file(CREATE_LINK ${pellin_link_target} ${pellin_link} SYMBOLIC)
    install(FILES ${pellin_link} DESTINATION ${CMAKE_INSTALL_BINDIR})
  endif()

  if(UNIX AND NOT APPLE)
    install(FILES ${PROJECT_SOURCE_DIR}/data/${PELLIN_APP_ID}.desktop
            DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
    install(FILES ${PROJECT_SOURCE_DIR}/data/${PELLIN_APP_ID}.metainfo.xml
            DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
    install(FILES ${PROJECT_SOURCE_DIR}/data/pellinoraxis.svg
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
            RENAME ${PELLIN_APP_ID}.svg)
    # The PNG sizes rendered by scripts/make-icons.sh.
    install(DIRECTORY ${PROJECT_SOURCE_DIR}/data/icons/hicolor
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons
            FILES_MATCHING PATTERN "*.png")
  endif()
endif()

foreach(tool tsdmake tsddump)
  if(TARGET ${tool})
    install(TARGETS ${tool} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  endif()
endforeach()

# Debian looks for the licence under this exact name.
install(FILES ${PROJECT_SOURCE_DIR}/LICENSE
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/pellinoraxis
        RENAME copyright)

# The Debian package.
set(CPACK_PACKAGE_NAME pellinoraxis)
set(CPACK_PACKAGE_VENDOR "Corvane Limited")
set(CPACK_PACKAGE_CONTACT "Corvane Limited <pellinoraxis-support@corvane.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "word game with falling letter tiles")
# Debian shows the description as it stands, so its lines are kept short here.
string(JOIN "\n" CPACK_PACKAGE_DESCRIPTION
       "Round letter tiles, packed hexagonally on a board of twelve rows of nine,"
       "drop in at the top ever faster and fall diagonally. Click or drag a chain"
       "of neighbouring tiles to spell a word: it scores the product of its"
       "tiles' values and its tiles leave the board. When a new tile can fall no"
       "further the round ends and costs a life; a life is earned for every 2000"
       "points."
       ""
       "The package also holds tsdmake and tsddump, which make a dictionary from"
       "a word list and list the words of one.")
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_GENERATOR DEB)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://www.corvane.example/Pellinoraxis.html")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# What the linked libraries do not name but the game needs to run: the display plugins and a
# font with Arial's metrics for the board's letters. The multimedia library, with its audio
# output, comes from the libraries the sound module links.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, fonts-liberation")

include(CPack)
