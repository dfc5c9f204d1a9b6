# Installation of the desktop data (icons, AppStream metainfo, manual pages,
# copyright) and the Debian package: cmake --install build, or
# cpack --config build/CPackConfig.cmake -G DEB. The programs and the desktop
# entry are installed by src/CMakeLists.txt.

include(GNUInstallDirs)

set(VELMORA_PACKAGING_DIR ${PROJECT_SOURCE_DIR}/packaging)
set(VELMORA_PACKAGE_NAME velmora-arudha-lagna)

# Icons: the scalable one, and PNGs made from it by tools/make-icons.sh. The
# 256-pixel one is the window icon, installed with the programs.
install(FILES ${VELMORA_PACKAGING_DIR}/icons/velmora-arudha-lagna.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
foreach(size 16 32 48 64 128)
  install(FILES ${VELMORA_PACKAGING_DIR}/icons/${size}x${size}/velmora-arudha-lagna.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()

install(FILES ${VELMORA_PACKAGING_DIR}/example.velmora.arudha_lagna.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${VELMORA_PACKAGING_DIR}/copyright
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/${VELMORA_PACKAGE_NAME})

# Manual pages, compressed as Debian has them (without name or time stamp in
# the gzip header, so that builds are repeatable); plain without gzip.
find_program(VELMORA_GZIP gzip)
# The tool's page is made from its --help by help2man at build time, so it
# lists every option and exit status the tool has; the program's page is
# written by hand (packaging/man).
find_program(VELMORA_HELP2MAN help2man REQUIRED)
set(VELMORA_CLI_MAN_PAGE ${CMAKE_BINARY_DIR}/man/velmora-arudha-lagna-cli.1)
# The page's date: the package's (Debian sets SOURCE_DATE_EPOCH from the
# changelog), else the day the build was configured.
if(DEFINED ENV{SOURCE_DATE_EPOCH})
  set(VELMORA_MAN_EPOCH $ENV{SOURCE_DATE_EPOCH})
else()
  string(TIMESTAMP VELMORA_MAN_EPOCH "%s" UTC)
endif()
add_custom_command(OUTPUT ${VELMORA_CLI_MAN_PAGE}
                   COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/man
                   COMMAND ${CMAKE_COMMAND} -E env SOURCE_DATE_EPOCH=${VELMORA_MAN_EPOCH} QT_QPA_PLATFORM=offscreen
                           ${VELMORA_HELP2MAN} --no-info --section=1
                           "--name=work out the Arudha Lagna of a birth chart, on the command line"
                           "--source=Velmora Arudha Lagna ${PROJECT_VERSION}"
                           "--version-string=${PROJECT_VERSION}"
                           --include=${VELMORA_PACKAGING_DIR}/man/velmora-arudha-lagna-cli.h2m
                           --output=${VELMORA_CLI_MAN_PAGE} $<TARGET_FILE:velmora-arudha-lagna-cli>
                   DEPENDS velmora-arudha-lagna-cli ${VELMORA_PACKAGING_DIR}/man/velmora-arudha-lagna-cli.h2m
                   COMMENT "Making the manual page velmora-arudha-lagna-cli.1 from --help"
                   VERBATIM)
set(VELMORA_MAN_PAGES velmora-arudha-lagna velmora-arudha-lagna-cli)
foreach(page IN LISTS VELMORA_MAN_PAGES)
  set(source ${VELMORA_PACKAGING_DIR}/man/${page}.1)
  if(page STREQUAL "velmora-arudha-lagna-cli")
    set(source ${VELMORA_CLI_MAN_PAGE})
  endif()
  if(VELMORA_GZIP)
    set(compressed ${CMAKE_BINARY_DIR}/man/${page}.1.gz)
    add_custom_command(OUTPUT ${compressed}
                       COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/man
                       COMMAND ${CMAKE_COMMAND} -E copy ${source} ${CMAKE_BINARY_DIR}/man/${page}.1.copy
                       COMMAND ${VELMORA_GZIP} -9 -n -f -S .gz.tmp ${CMAKE_BINARY_DIR}/man/${page}.1.copy
                       COMMAND ${CMAKE_COMMAND} -E rename ${CMAKE_BINARY_DIR}/man/${page}.1.copy.gz.tmp ${compressed}
                       DEPENDS ${source}
                       COMMENT "Compressing the manual page ${page}.1"
                       VERBATIM)
    list(APPEND VELMORA_MAN_OUTPUTS ${compressed})
    install(FILES ${compressed} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  else()
    install(FILES ${source} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
    list(APPEND VELMORA_MAN_OUTPUTS ${source})
  endif()
endforeach()
if(VELMORA_MAN_OUTPUTS)
  add_custom_target(velmora_man_pages ALL DEPENDS ${VELMORA_MAN_OUTPUTS})
endif()

# The Debian package.
set(CPACK_PACKAGE_NAME ${VELMORA_PACKAGE_NAME})
set(CPACK_PACKAGE_VENDOR "Velmora")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Velmora <packages@velmora.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Works out the Arudha Lagna of a birth chart")
# Wrapped by hand: the Debian control file keeps the lines as they are.
set(CPACK_PACKAGE_DESCRIPTION
    "Velmora Arudha Lagna takes a person's birth data and computes the sidereal
positions of the Sun, the Moon, the planets, the lunar nodes and the
ascendant, places them in a sign chart, derives the Arudha Lagna and
presents readings for it.

The package holds the windowed program, velmora-arudha-lagna, and the
command-line tool, velmora-arudha-lagna-cli.")
set(CPACK_PACKAGE_HOMEPAGE_URL "https://arudha.velmora.example/")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_GENERATOR DEB)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The libraries (Qt, the C++ runtime) come from dpkg-shlibdeps. Named here is
# what the program needs at run time without linking it: the ephemeris data,
# the time zone data, and Qt's platform plugins (only recommended by Qt's
# libraries, yet without them no window opens).
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "swe-basic-data, tzdata, qt6-qpa-plugins")

include(CPack)
