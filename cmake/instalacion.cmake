# Installed layout: the programs in bin, the reference data and the help in
# share/pelmora, the manual pages, the copyright and the changelog, and the
# desktop entry, icon, metainfo and MIME type where a Linux desktop looks
# for them. `cpack -G DEB` builds the Debian package.
#
# Included from the top CMakeLists.txt after every target exists.
# The data folders (PELMORA_DATOS_INSTALADOS) are set in the top
# CMakeLists.txt, where the programs are made.

install(TARGETS pelmora-calc RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${PELMORA_REFERENCIA} DESTINATION ${CMAKE_INSTALL_DATADIR}/pelmora/Vededizaviro)

# Manual pages (in Spanish, the programs' only language, so in the default
# section folder where every user finds them) and the changelog, compressed
# the way Debian expects: best compression, no name or time stamp inside.
find_program(PELMORA_GZIP gzip)
set(PELMORA_PAGINAS pelmora-calc.1)
if(PELMORA_GUI)
    list(APPEND PELMORA_PAGINAS pelmora.1)
endif()
set(PELMORA_DOCUMENTOS)
foreach(n ${PELMORA_PAGINAS} changelog)
    if(n STREQUAL "changelog")
        set(origen "${CMAKE_CURRENT_SOURCE_DIR}/datos/paquete/changelog")
    else()
        set(origen "${CMAKE_CURRENT_SOURCE_DIR}/datos/man/${n}")
    endif()
    set(copia "${CMAKE_BINARY_DIR}/documentacion/${n}")
    if(PELMORA_GZIP)
        add_custom_command(OUTPUT "${copia}.gz"
            COMMAND ${CMAKE_COMMAND} -E copy "${origen}" "${copia}"
            COMMAND ${PELMORA_GZIP} -9nf "${copia}"
            DEPENDS "${origen}" VERBATIM)
        list(APPEND PELMORA_DOCUMENTOS "${copia}.gz")
    else()
        message(WARNING "gzip not found: the manual pages and the changelog are installed uncompressed")
        configure_file("${origen}" "${copia}" COPYONLY)
        list(APPEND PELMORA_DOCUMENTOS "${copia}")
    endif()
endforeach()
add_custom_target(pelmora_documentacion ALL DEPENDS ${PELMORA_DOCUMENTOS})
foreach(f ${PELMORA_DOCUMENTOS})
    if(f MATCHES "/changelog(\\.gz)?$")
        install(FILES "${f}" DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/pelmora)
    else()
        install(FILES "${f}" DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
    endif()
endforeach()
install(FILES datos/paquete/copyright DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/pelmora)

if(PELMORA_GUI)
    install(TARGETS pelmora RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
    if(TARGET pelmora_ayuda)
        install(FILES "${CMAKE_BINARY_DIR}/Pelmora.qch" "${CMAKE_BINARY_DIR}/Acuerdos.qch"
                DESTINATION ${CMAKE_INSTALL_DATADIR}/pelmora)
    else()
        message(WARNING "The help files are not built, so they are not installed")
    endif()
    install(FILES datos/escritorio/es.pelmora.pelmora.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
    install(FILES datos/escritorio/pelmora.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
    install(FILES datos/escritorio/es.pelmora.pelmora.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
    install(FILES datos/escritorio/pelmora-calculo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages)
endif()

# ---- Debian package -------------------------------------------------------------
# Built from a tree configured with -DCMAKE_INSTALL_PREFIX=/usr:
#   cmake -S . -B build-deb -G Ninja -DCMAKE_INSTALL_PREFIX=/usr -DPELMORA_TESTS=OFF
#   cmake --build build-deb && (cd build-deb && cpack -G DEB)
# The package always installs under /usr; the program finds its data relative
# to its executable, so a tree configured for another prefix still works.
if(NOT CMAKE_INSTALL_PREFIX STREQUAL "/usr")
    message(STATUS "Pelmora: the Debian package installs under /usr (CMAKE_INSTALL_PREFIX is ${CMAKE_INSTALL_PREFIX})")
endif()
set(CPACK_GENERATOR "DEB")
set(CPACK_PACKAGE_NAME "pelmora")
set(CPACK_PACKAGE_VENDOR "Equipo de Pelmora")
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_CONTACT "Equipo de Pelmora <pelmora@pelmora.es>")
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://pelmora.es/")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "cálculo del coste anual de un autocar")
# One paragraph per list item; CPack indents the lines and marks the blank
# ones as Debian wants. Lines stay within 80 columns.
string(JOIN "\n" CPACK_PACKAGE_DESCRIPTION
    "Pelmora calcula lo que cuesta a una empresa de transporte de viajeros"
    "mantener un autocar durante un año: el coste anual en trece partidas,"
    "cinco costes unitarios (por viajero-kilómetro, por kilómetro facturado y"
    "por hora facturada) y el precio de hasta cinco servicios concretos, siempre"
    "junto a las cifras de un autocar de referencia de su categoría de plazas."
    ""
    "Las cifras de referencia que trae son ilustrativas de un autocar típico de"
    "cada categoría, no acordadas, oficiales ni vinculantes; el usuario puede"
    "sustituirlas por las suyas o por cifras publicadas."
    ""
    "Imprime los formularios o los exporta a PDF. Incluye pelmora-calc, que"
    "muestra en texto, JSON o CSV los costes de uno o muchos archivos de"
    "cálculo y qué entradas los mueven más.")
set(CPACK_PACKAGING_INSTALL_PREFIX "/usr")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION "misc")
set(CPACK_DEBIAN_PACKAGE_PRIORITY "optional")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# dpkg-shlibdeps finds the Qt libraries the programs link to (core, gui with
# the X11 platform plugin, widgets, print support, svg with its plugins,
# help). The SQLite driver is a plugin it cannot see: the help engine reads
# the .qch files through it.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6sql6-sqlite")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n, qt6-wayland, hicolor-icon-theme, shared-mime-info, desktop-file-utils")
include(CPack)
