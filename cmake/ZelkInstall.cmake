# What `cmake --install` puts under the prefix: the programs, the device library, the udev rule, the man
# pages and the bash completion. The desktop program's data (ZelkRES.rcc, the manual, the icons, the
# desktop entry and the metainfo) are installed by res/, which paints them.

# Relative to the program, so a moved prefix still finds its library; the build tree keeps its own.
if(APPLE)
  set(ZELK_INSTALL_RPATH "@loader_path/${ZELK_LIB_FROM_BIN}")
else()
  set(ZELK_INSTALL_RPATH "$ORIGIN/${ZELK_LIB_FROM_BIN}")
endif()

set(ZELK_PROGRAMS zelk-cli)
if(TARGET Zelk)
  list(APPEND ZELK_PROGRAMS Zelk)
endif()
set_target_properties(${ZELK_PROGRAMS} PROPERTIES INSTALL_RPATH "${ZELK_INSTALL_RPATH}")
install(TARGETS ${ZELK_PROGRAMS} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# No headers are installed, so no development link libZelkHWI.so either. A private library is not
# executable (Debian's rule for shared libraries).
install(TARGETS ZelkHWI
  LIBRARY DESTINATION ${ZELK_LIB_DIR} NAMELINK_SKIP
          PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ
  RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# The format zelk-cli import reads, for editors and checkers of profiles kept as JSON.
install(FILES ${PROJECT_SOURCE_DIR}/res/zelk-profile.schema.json DESTINATION ${CMAKE_INSTALL_DATADIR}/zelk)

if(UNIX AND NOT APPLE)
  # udev reads lib/udev/rules.d of /usr and of /usr/local; it is not a library folder.
  install(FILES ${PROJECT_SOURCE_DIR}/res/70-zelk.rules DESTINATION lib/udev/rules.d)
  install(FILES ${PROJECT_SOURCE_DIR}/cli/zelk-cli.bash DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions
          RENAME zelk-cli)
  install(FILES ${PROJECT_SOURCE_DIR}/cli/zelk-cli.bash DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions
          RENAME Zelk)

  # Man pages and the changelog, compressed as Debian installs them when gzip is there.
  find_program(ZELK_GZIP gzip)
  # Points the variable named at the file's compressed copy, made at build time, when gzip is there.
  function(zelk_gzipped variable)
    if(ZELK_GZIP)
      set(file ${${variable}})
      add_custom_command(
        OUTPUT ${file}.gz
        COMMAND ${ZELK_GZIP} -9nkf ${file}
        DEPENDS ${file}
        VERBATIM)
      set(${variable} ${file}.gz PARENT_SCOPE)
    endif()
  endfunction()
  set(ZELK_MAN_PAGES zelk-cli.1)
  if(TARGET Zelk)
    list(APPEND ZELK_MAN_PAGES Zelk.1)
  endif()
  foreach(page ${ZELK_MAN_PAGES})
    set(filled ${CMAKE_BINARY_DIR}/man/${page})
    configure_file(${PROJECT_SOURCE_DIR}/res/man/${page}.in ${filled} @ONLY)
    zelk_gzipped(filled)
    list(APPEND ZELK_MAN_FILES ${filled})
  endforeach()
  add_custom_target(ZelkManPages ALL DEPENDS ${ZELK_MAN_FILES})
  install(FILES ${ZELK_MAN_FILES} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

  # The copyright (machine-readable) and the changelog, compressed, as Debian keeps them.
  set(ZELK_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/zelk)
  execute_process(COMMAND date -u -R -d ${ZELK_RELEASE_DATE} OUTPUT_VARIABLE ZELK_RELEASE_DATE_RFC2822
                  OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
  set(changelog ${CMAKE_BINARY_DIR}/doc/changelog)
  configure_file(${PROJECT_SOURCE_DIR}/cmake/debian/changelog.in ${changelog} @ONLY)
  zelk_gzipped(changelog)
  add_custom_target(ZelkChangelog ALL DEPENDS ${changelog})
  install(FILES ${PROJECT_SOURCE_DIR}/cmake/debian/copyright ${changelog} DESTINATION ${ZELK_DOC_DIR})
endif()
