# Installed layout: the programs in bin, the reference data and the help in
# share/pelmora, and the desktop entry, icon, metainfo and MIME type where a
# Linux desktop looks for them. `cpack -G DEB` builds the Debian package.
include(GNUInstallDirs)

set(PELMORA_DATOS_INSTALADOS "${CMAKE_INSTALL_FULL_DATADIR}/pelmora")

install(TARGETS pelmora-calc RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(DIRECTORY datos/Vededizaviro DESTINATION ${CMAKE_INSTALL_DATADIR}/pelmora
        FILES_MATCHING PATTERN "*.obs")

if(PELMORA_GUI)
    install(TARGETS pelmora RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
    target_compile_definitions(pelmora_interfaz PRIVATE
        PELMORA_DATOS_INSTALADOS="${PELMORA_DATOS_INSTALADOS}")
    foreach(ayuda Pelmora.qch Acuerdos.qch)
        install(FILES "${CMAKE_BINARY_DIR}/${ayuda}" DESTINATION ${CMAKE_INSTALL_DATADIR}/pelmora OPTIONAL)
    endforeach()
    install(FILES datos/escritorio/pelmora.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
    install(FILES datos/escritorio/pelmora.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
    install(FILES datos/escritorio/es.pelmora.Pelmora.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
    install(FILES datos/escritorio/pelmora-calculo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages)
endif()

set(CPACK_GENERATOR "DEB")
set(CPACK_PACKAGE_NAME "pelmora")
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_CONTACT "Equipo de Pelmora <pelmora@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Cálculo del coste anual de un autocar")
set(CPACK_PACKAGE_DESCRIPTION "Pelmora calcula el coste anual de un autocar en trece partidas, cinco costes unitarios y el precio de servicios concretos, junto a las cifras de un autocar de referencia.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION "misc")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Plugins the libraries do not pull in: the desktop platform and images.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, qt6-image-formats-plugins | libqt6gui6")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "shared-mime-info, desktop-file-utils")
include(CPack)
