# Installation as a desktop application, and the Debian package built from it.
# The program folder stays one unit under lib/pelkora (the program finds data/conv, sound.wav
# and help/ beside its own real path); bin/pelkora is a relative link into it.
include(GNUInstallDirs)

set(PELKORA_APP_ID org.pelkora.Pelkora)
set(PELKORA_INSTALL_PROGRAM_DIR lib/pelkora)
set(PELKORA_DIST_DIR ${CMAKE_SOURCE_DIR}/dist)
set(PELKORA_ICON_DIR ${CMAKE_BINARY_DIR}/icons)
set(PELKORA_ICON_SIZES 16 24 32 48 64 128 256)
option(PELKORA_DEBIAN_DOCS "Install the Debian changelog and copyright file" OFF)

# Icons: drawn at build time by the painter of the window's icon.
set(icon_files ${PELKORA_ICON_DIR}/hicolor/scalable/apps/${PELKORA_APP_ID}.svg)
foreach(size IN LISTS PELKORA_ICON_SIZES)
    list(APPEND icon_files ${PELKORA_ICON_DIR}/hicolor/${size}x${size}/apps/${PELKORA_APP_ID}.png)
endforeach()
add_custom_command(OUTPUT ${icon_files}
    COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=0
        $<TARGET_FILE:make_icons> ${PELKORA_ICON_DIR} ${PELKORA_APP_ID} ${PELKORA_ICON_SIZES}
    DEPENDS make_icons
    COMMENT "Drawing the application icons")
add_custom_target(icons ALL DEPENDS ${icon_files})

# Man pages are installed compressed, without a time stamp, so the package is reproducible.
set(man_page ${CMAKE_BINARY_DIR}/dist/pelkora.1.gz)
add_custom_command(OUTPUT ${man_page}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/dist
    COMMAND gzip -9 -n -c ${PELKORA_DIST_DIR}/pelkora.1 > ${man_page}
    DEPENDS ${PELKORA_DIST_DIR}/pelkora.1
    COMMENT "Compressing the man page")
add_custom_target(man_page ALL DEPENDS ${man_page})

# The program folder.
install(TARGETS pelkora RUNTIME DESTINATION ${PELKORA_INSTALL_PROGRAM_DIR})
install(TARGETS conv RUNTIME DESTINATION ${PELKORA_INSTALL_PROGRAM_DIR}/data)
install(FILES ${PELKORA_PROGRAM_DIR}/sound.wav DESTINATION ${PELKORA_INSTALL_PROGRAM_DIR})
install(DIRECTORY ${PELKORA_PROGRAM_DIR}/help DESTINATION ${PELKORA_INSTALL_PROGRAM_DIR})
install(DIRECTORY ${PELKORA_PROGRAM_DIR}/translations DESTINATION ${PELKORA_INSTALL_PROGRAM_DIR})
# Relative, so the tree works under DESTDIR and wherever the prefix is moved.
install(CODE "
    set(link \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/pelkora\")
    message(STATUS \"Installing: \${link}\")
    file(MAKE_DIRECTORY \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}\")
    file(REMOVE \"\${link}\")
    file(CREATE_LINK ../${PELKORA_INSTALL_PROGRAM_DIR}/pelkora \"\${link}\" SYMBOLIC)
")

# Desktop integration.
install(FILES ${PELKORA_DIST_DIR}/${PELKORA_APP_ID}.desktop
    DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PELKORA_DIST_DIR}/${PELKORA_APP_ID}.metainfo.xml
    DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${PELKORA_ICON_DIR}/hicolor/scalable/apps/${PELKORA_APP_ID}.svg
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
foreach(size IN LISTS PELKORA_ICON_SIZES)
    install(FILES ${PELKORA_ICON_DIR}/hicolor/${size}x${size}/apps/${PELKORA_APP_ID}.png
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()
install(FILES ${man_page} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

if(PELKORA_DEBIAN_DOCS)
    set(changelog ${CMAKE_BINARY_DIR}/dist/changelog.Debian.gz)
    add_custom_command(OUTPUT ${changelog}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/dist
        COMMAND gzip -9 -n -c ${PELKORA_DIST_DIR}/debian/changelog > ${changelog}
        DEPENDS ${PELKORA_DIST_DIR}/debian/changelog
        COMMENT "Compressing the Debian changelog")
    add_custom_target(debian_changelog ALL DEPENDS ${changelog})
    # Named after the package, not the project (GNUInstallDirs would say Pelkora).
    install(FILES ${changelog} ${PELKORA_DIST_DIR}/debian/copyright
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/pelkora)
endif()

# The Debian package (scripts/package.sh): cpack -G DEB in a release tree.
set(CPACK_PACKAGE_NAME pelkora)
set(CPACK_PACKAGE_VENDOR "The Pelkora team")
set(CPACK_PACKAGE_CONTACT "The Pelkora team <support@pelkora.org>")
set(CPACK_PACKAGE_HOMEPAGE_URL https://pelkora.org/)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "batch audio converter")
set(CPACK_PACKAGE_INSTALL_DIRECTORY pelkora)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# Qt SQL's SQLite driver is a plugin, loaded at run time: shlibdeps cannot see it. Qt opens
# folders and the help page through xdg-open; without it F1 and the finished run's folder fail.
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "fonts-dejavu-core, fonts-dejavu-extra, libqt6sql6-sqlite, xdg-utils")
# The window runs on X without it; on a Wayland session it runs natively with it. Qt's own
# translations put its dialogs (file and folder choosers) in the same language as ours.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-wayland, qt6-translations-l10n")
# CPack puts the summary line in front and indents the rest; an empty line parts paragraphs.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION [=[
Pelkora converts many audio and video files at once. Collect media files
in its list, choose an output format (MP3, WMA, OGG, WAV, FLAC, AC3, AAC,
AMR or MPG), bitrate, sample rate, channels and an output folder, and
convert them all in one go. Only the sound of a video file is converted.

Files can be added one by one, as whole folders, or by dropping them on
the window, and a piece of each file can be cut out instead of the whole.

The same conversions run without a window from the command line
(pelkora --batch), for scripts and machines without a display.]=])
include(CPack)
