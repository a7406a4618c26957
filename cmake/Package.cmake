# Installing the program and making its Debian package (cpack -G DEB in the build folder).
#
# The program folder goes to lib/fendrel (read-only for users: the program copies it to
# ~/.local/share/fendrel on first start, and refreshes its own files there after an upgrade);
# the two commands are relative links in bin, so that an unpacked tree runs in place.

set(FENDREL_PROGRAM_DIR lib/fendrel)
include(GNUInstallDirs)

install(TARGETS fendrel fendrel-calc RUNTIME DESTINATION ${FENDREL_PROGRAM_DIR})
install(DIRECTORY ${PROJECT_SOURCE_DIR}/data/ DESTINATION ${FENDREL_PROGRAM_DIR}
        PATTERN splash.HTM EXCLUDE PATTERN YourData EXCLUDE)
install(FILES ${CMAKE_BINARY_DIR}/bin/splash.HTM DESTINATION ${FENDREL_PROGRAM_DIR})
install(DIRECTORY ${CMAKE_BINARY_DIR}/bin/HelpDocs DESTINATION ${FENDREL_PROGRAM_DIR})
install(CODE "
  file(MAKE_DIRECTORY \$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/bin)
  foreach(cmd fendrel fendrel-calc)
    file(CREATE_LINK ../${FENDREL_PROGRAM_DIR}/\${cmd}
         \$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/bin/\${cmd} SYMBOLIC)
  endforeach()")

# The desktop: menu entry, AppStream metadata, icons.
set(pkg ${PROJECT_SOURCE_DIR}/packaging)
install(FILES ${pkg}/org.example.fendrel.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${pkg}/org.example.fendrel.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${pkg}/fendrel.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
foreach(size 16 22 24 32 48 64 128 256)
  install(FILES ${pkg}/icons/fendrel-${size}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
          RENAME fendrel.png)
endforeach()
install(FILES ${pkg}/fendrel-calc.bash-completion
        DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions RENAME fendrel-calc)
install(FILES ${pkg}/lintian-overrides DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides
        RENAME fendrel)

# Manual pages and the changelog, compressed as Debian keeps them.
set(packed ${CMAKE_BINARY_DIR}/packaging)
set(packed_files)
foreach(file fendrel.1 fendrel-calc.1 changelog)
  add_custom_command(OUTPUT ${packed}/${file}.gz
    COMMAND ${CMAKE_COMMAND} -E make_directory ${packed}
    COMMAND gzip -9 -n -c ${pkg}/${file} > ${packed}/${file}.gz
    DEPENDS ${pkg}/${file} VERBATIM)
  list(APPEND packed_files ${packed}/${file}.gz)
endforeach()
add_custom_target(packaging_files ALL DEPENDS ${packed_files})
install(FILES ${packed}/fendrel.1.gz ${packed}/fendrel-calc.1.gz
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${pkg}/copyright DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/fendrel)
install(FILES ${packed}/changelog.gz DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/fendrel
        RENAME changelog.gz)

# The package. Library dependencies are read off the binaries; the Qt platform plugin, which
# Qt loads at run time, is named by hand.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME fendrel)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_PACKAGE_CONTACT "The Fen-drel developers <fendrel@example.org>")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "The Fen-drel developers <fendrel@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "workbench for shooters who develop their own ammunition")
set(CPACK_PACKAGE_DESCRIPTION
    "Fen-drel keeps the loads you develop and the firearms that fire them, and
computes recoil, a point-mass trajectory table with zeroing and wind, and
terminal ballistics, shown as a report and a chart. It also offers a range
card for the air of the day, the hit probability of a load, a load
development history, a wind simulator, a stability calculator, a shot group
calculator, and backup and restore of your records.")
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://fendrel.example.org/")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS OFF)
include(CPack)
