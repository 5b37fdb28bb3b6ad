# What `cmake --install` puts on the system: the program, its manual page and
# its shell completion. The music font comes from the lilypond-fonts package
# (a dependency of the Debian package), found through fontconfig at run time.
include(GNUInstallDirs)

install(TARGETS ruzo RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

# Debian keeps manual pages compressed.
find_program(RUZO_GZIP gzip REQUIRED)
add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/ruzo.1.gz
  COMMAND ${RUZO_GZIP} -9 -n -c ${CMAKE_SOURCE_DIR}/data/ruzo.1 > ${CMAKE_BINARY_DIR}/ruzo.1.gz
  DEPENDS ${CMAKE_SOURCE_DIR}/data/ruzo.1
  COMMENT "Compressing the manual page")
add_custom_target(ruzo_man ALL DEPENDS ${CMAKE_BINARY_DIR}/ruzo.1.gz)
install(FILES ${CMAKE_BINARY_DIR}/ruzo.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

install(FILES data/completion/ruzo.bash
  DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions RENAME ruzo)
install(FILES data/completion/_ruzo DESTINATION ${CMAKE_INSTALL_DATADIR}/zsh/vendor-completions)
