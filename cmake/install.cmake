# Desktop integration and the Debian package. The programs and the manual are installed by
# src/shell and src/export; this adds what a desktop and a package manager expect beside them:
#   share/applications/<id>.desktop         menu entry
#   share/mime/packages/<id>.xml            application/x-rektool (*.rkm, *.rk2, "REK2" header)
#   share/metainfo/<id>.metainfo.xml        AppStream
#   share/icons/hicolor/<size>/apps/<id>.png, .../mimetypes/application-x-rektool.png, scalable SVG
#   share/man/man1/rektool.1.gz, rektool-export.1.gz
#   share/bash-completion/completions/rektool-export
# The application id is also the one the program gives its windows and its per-user
# association (kApplicationId in src/shell/file_association.h).

set(REK_APP_ID "io.github.rektool.RekTool")
set(REK_PACKAGING_DIR ${PROJECT_SOURCE_DIR}/packaging)

option(REK_DEBIAN_PACKAGE "Install the Debian copyright and changelog files (scripts/package)" OFF)

set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

install(FILES ${REK_PACKAGING_DIR}/${REK_APP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${REK_PACKAGING_DIR}/${REK_APP_ID}.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages)
install(FILES ${REK_PACKAGING_DIR}/${REK_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${REK_PACKAGING_DIR}/rektool-export.bash-completion
        DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions
        RENAME rektool-export)

# Icons, drawn by resources/generate_artwork.cpp. The document icon takes the name the
# desktop derives from the MIME type.
set(REK_ICON_DIR ${PROJECT_SOURCE_DIR}/resources/icons)
set(REK_HICOLOR_DIR ${CMAKE_INSTALL_DATADIR}/icons/hicolor)
foreach(size 16 24 32 48 64 128 256)
  install(FILES ${REK_ICON_DIR}/rektool-${size}.png
          DESTINATION ${REK_HICOLOR_DIR}/${size}x${size}/apps RENAME ${REK_APP_ID}.png)
  install(FILES ${REK_ICON_DIR}/rektool-model-${size}.png
          DESTINATION ${REK_HICOLOR_DIR}/${size}x${size}/mimetypes
          RENAME application-x-rektool.png)
endforeach()
install(FILES ${REK_ICON_DIR}/rektool.svg
        DESTINATION ${REK_HICOLOR_DIR}/scalable/apps RENAME ${REK_APP_ID}.svg)
install(FILES ${REK_ICON_DIR}/rektool-model.svg
        DESTINATION ${REK_HICOLOR_DIR}/scalable/mimetypes RENAME application-x-rektool.svg)

# Man pages and the Debian changelog, compressed the way Debian ships them (no name, no time
# stamp in the gzip header, so the same source gives the same bytes).
find_program(REK_GZIP gzip REQUIRED)
set(REK_COMPRESSED_DOCS)
function(rek_compress source output)
  add_custom_command(
    OUTPUT ${output}
    COMMAND ${REK_GZIP} -9nc ${source} > ${output}
    DEPENDS ${source}
    COMMENT "Compressing ${source}"
    VERBATIM)
  set(REK_COMPRESSED_DOCS ${REK_COMPRESSED_DOCS} ${output} PARENT_SCOPE)
endfunction()

set(REK_DOC_BUILD_DIR ${PROJECT_BINARY_DIR}/packaging)
file(MAKE_DIRECTORY ${REK_DOC_BUILD_DIR})
foreach(page rektool.1 rektool-export.1)
  rek_compress(${REK_PACKAGING_DIR}/${page} ${REK_DOC_BUILD_DIR}/${page}.gz)
  install(FILES ${REK_DOC_BUILD_DIR}/${page}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endforeach()

if(REK_DEBIAN_PACKAGE)
  rek_compress(${REK_PACKAGING_DIR}/debian/changelog ${REK_DOC_BUILD_DIR}/changelog.Debian.gz)
  install(FILES ${REK_DOC_BUILD_DIR}/changelog.Debian.gz ${REK_PACKAGING_DIR}/debian/copyright
          DESTINATION ${CMAKE_INSTALL_DOCDIR})
endif()
add_custom_target(compressed_docs ALL DEPENDS ${REK_COMPRESSED_DOCS})

# cpack -G DEB: rektool_<version>-<release>_<arch>.deb. The library dependencies come from
# dpkg-shlibdeps; the MIME, icon and menu caches are refreshed by the triggers of
# shared-mime-info, hicolor-icon-theme and desktop-file-utils, so there are no maintainer
# scripts.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME rektool)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "RekTool developers <maintainers@users.noreply.c-seed-438f6bfa.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "editor for wobbling line-drawing animations")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# Qt loads its window-system plugin at run time, which dpkg-shlibdeps cannot see.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
# SVG icons, the per-user association's xdg-mime, Qt's own texts in the chosen language and
# a font with Japanese glyphs.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS
    "libqt6svg6, xdg-utils, qt6-translations-l10n, fonts-ipafont-gothic | fonts-noto-cjk")
# The summary above becomes the first line; cpack indents these lines as Debian wants them.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "RekTool (レクツール) draws rek models: vertices joined by straight segments,
grouped into strokes. Every vertex wobbles by a few pixels and a shadow copy
follows it, which gives a hand-drawn look; a replay shows the drawing in the
order it was drawn.

Models are exported as animated GIF, WebP or PNG, numbered BMP or PNG files,
or SVG, from the editor or with rektool-export on the command line.")
include(CPack)
