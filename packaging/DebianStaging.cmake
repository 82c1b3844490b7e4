# Run by CPack once the files are staged, before the package is made: what
# Debian's layout asks beyond the install rules. The copyright file is the
# licence installed with the documentation, and manual pages are compressed
# (gzip -n, so that the same pages make the same package).
set(_root ${CPACK_TEMPORARY_INSTALL_DIRECTORY}${CPACK_PACKAGING_INSTALL_PREFIX})
set(_licence ${_root}/${CPACK_FOTAVEL_DOCDIR}/Licence-freeware.txt)
if(NOT EXISTS ${_licence})
  message(FATAL_ERROR "the licence is not staged in ${_licence}")
endif()
file(COPY_FILE ${_licence} ${_root}/${CPACK_FOTAVEL_DOCDIR}/copyright)

file(GLOB_RECURSE _pages ${_root}/share/man/*.1)
if(NOT _pages)
  message(FATAL_ERROR "no manual page is staged in ${_root}/share/man")
endif()
execute_process(COMMAND gzip -9nf ${_pages} COMMAND_ERROR_IS_FATAL ANY)
