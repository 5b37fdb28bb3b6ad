# The Debian package: `make package` (or `cpack -G DEB` in the build folder)
# writes ruzo_VERSION_ARCH.deb. The shared libraries' packages are found by
# dpkg-shlibdeps; the music font, and the PDF libraries the program opens
# only when first needed, are dependencies it cannot see.
set(CPACK_PACKAGE_NAME ruzo)
set(CPACK_PACKAGE_VENDOR "Ruzo developers")
set(CPACK_PACKAGE_CONTACT "Ruzo developers <ruzo@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "optical music recognition: printed sheet music into scores")
# The long description; CPack puts the summary line above it.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
  "Ruzo reads pages of printed sheet music (image files) and turns them into a
symbolic score: staves, measures, clefs, keys and time signatures, notes and
rests with pitch and duration, and the signs around them. It writes its own
result and music files, MusicXML and MIDI.")
set(CPACK_STRIP_FILES ON)
set(CPACK_GENERATOR DEB)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "lilypond-fonts, libpoppler-glib8, libcairo2")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "bash-completion")
include(CPack)
