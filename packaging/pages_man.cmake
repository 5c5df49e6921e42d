# Run at install time: the manual pages made from their templates with the
# folder of the shared files under the prefix being installed to, compressed
# as Debian wants them (gzip -9n), then installed.
set(TAMSO_FICHIERS "${CMAKE_INSTALL_PREFIX}/${TAMSO_DATADIR}/tamso")
file(MAKE_DIRECTORY "${TAMSO_DOSSIER_PAGES}")
foreach(modele IN LISTS TAMSO_PAGES_MAN)
  get_filename_component(page "${modele}" NAME_WLE)
  set(sortie "${TAMSO_DOSSIER_PAGES}/${page}")
  configure_file("${modele}" "${sortie}" @ONLY)
  execute_process(COMMAND gzip -9n -f "${sortie}" RESULT_VARIABLE code)
  if(NOT code EQUAL 0)
    message(FATAL_ERROR "gzip ${sortie} : ${code}")
  endif()
  file(INSTALL "${sortie}.gz" DESTINATION "${CMAKE_INSTALL_PREFIX}/${TAMSO_MANDIR}/man1")
endforeach()
