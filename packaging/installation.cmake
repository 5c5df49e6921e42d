# Installation (GNUInstallDirs) and the Debian package (cpack -G DEB).
#   bin/                                   tamso, tamso-cli
#   share/tamso/                           the user manual (PDF) and the examples, which the
#                                          programs find from their own folder
#   share/applications/, share/metainfo/   the desktop entry and its AppStream metadata
#   share/icons/hicolor/                   the icon, SVG and PNG
#   share/man/man1/                        tamso(1), tamso-cli(1)
#   share/bash-completion/completions/     the completion of tamso-cli
set(TAMSO_ID org.example.tamso)

install(TARGETS tamso-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(DIRECTORY ${CMAKE_SOURCE_DIR}/examples/ DESTINATION ${TAMSO_DOSSIER_FICHIERS}/examples)
install(FILES ${CMAKE_SOURCE_DIR}/packaging/tamso-cli.bash-completion
  DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions RENAME tamso-cli)

# The manual pages name the folder of the shared files: they are made at
# install time, when the prefix is known (cpack installs under /usr).
set(TAMSO_PAGES_MAN ${CMAKE_SOURCE_DIR}/docs/man/tamso-cli.1.in)
if(TAMSO_GUI)
  list(APPEND TAMSO_PAGES_MAN ${CMAKE_SOURCE_DIR}/docs/man/tamso.1.in)
endif()
install(CODE "
  set(TAMSO_PAGES_MAN \"${TAMSO_PAGES_MAN}\")
  set(TAMSO_DOSSIER_PAGES \"${CMAKE_BINARY_DIR}/pages-man\")
  set(TAMSO_DATADIR \"${CMAKE_INSTALL_DATADIR}\")
  set(TAMSO_MANDIR \"${CMAKE_INSTALL_MANDIR}\")
  set(PROJECT_VERSION \"${PROJECT_VERSION}\")
  set(TAMSO_DATE_VERSION \"${TAMSO_DATE_VERSION}\")
  include(\"${CMAKE_SOURCE_DIR}/packaging/pages_man.cmake\")
")

if(TAMSO_GUI)
  install(TARGETS tamso RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(FILES ${TAMSO_MANUEL_PDF} DESTINATION ${TAMSO_DOSSIER_FICHIERS})
  install(FILES ${CMAKE_SOURCE_DIR}/packaging/${TAMSO_ID}.desktop
    DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  configure_file(${CMAKE_SOURCE_DIR}/packaging/${TAMSO_ID}.metainfo.xml.in
    ${CMAKE_BINARY_DIR}/${TAMSO_ID}.metainfo.xml @ONLY)
  install(FILES ${CMAKE_BINARY_DIR}/${TAMSO_ID}.metainfo.xml
    DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
  install(FILES ${CMAKE_SOURCE_DIR}/packaging/${TAMSO_ID}.svg
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
  # The PNG sizes, drawn from the SVG with Qt SVG.
  if(Qt6Svg_FOUND)
    set(TAMSO_TAILLES_ICONE 16 22 24 32 48 64 128 256)
    add_executable(tamso_icone_png tools/icone_png.cpp)
    tamso_avertissements(tamso_icone_png)
    target_link_libraries(tamso_icone_png PRIVATE Qt6::Gui Qt6::Svg)
    set(TAMSO_ICONES_PNG)
    foreach(taille IN LISTS TAMSO_TAILLES_ICONE)
      list(APPEND TAMSO_ICONES_PNG
        ${CMAKE_BINARY_DIR}/icones/${taille}x${taille}/apps/${TAMSO_ID}.png)
    endforeach()
    add_custom_command(OUTPUT ${TAMSO_ICONES_PNG}
      COMMAND tamso_icone_png ${CMAKE_SOURCE_DIR}/packaging/${TAMSO_ID}.svg
        ${CMAKE_BINARY_DIR}/icones ${TAMSO_TAILLES_ICONE}
      DEPENDS tamso_icone_png ${CMAKE_SOURCE_DIR}/packaging/${TAMSO_ID}.svg
      COMMENT "Icônes PNG de Tamso"
      VERBATIM)
    add_custom_target(tamso_icones ALL DEPENDS ${TAMSO_ICONES_PNG})
    install(DIRECTORY ${CMAKE_BINARY_DIR}/icones/
      DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor)
  else()
    message(WARNING "Qt SVG (qt6-svg-dev) absent : l'icône n'est installée qu'en SVG")
  endif()
endif()

# ---- the Debian package: its dependencies are those of the libraries the
# programs link (dpkg-shlibdeps) ----
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tamso)
set(CPACK_PACKAGE_VENDOR "The Tamso developers")
set(CPACK_PACKAGE_CONTACT "The Tamso developers <tamso@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "regular time series from measurement-logger files")
set(CPACK_PACKAGE_DESCRIPTION
  "Tamso reads the files field loggers leave (water level, temperature, rain,
conductivity...) and turns them into regular time series: a value per hour, per
day or per month over a chosen period, with the times corrected and the missing
values filtered. A description file, made once from a sample file, says how a
family of files is read. The desktop program (tamso, French interface) shows
the files, the results and their graphs; the batch program (tamso-cli) runs
descriptions from scripts and schedulers.")
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://tamso.example.org/")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The help button opens the manual with the desktop's viewer; the window's
# standard buttons speak French with Qt's translations.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils, qt6-translations-l10n")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
include(CPack)
