# The help window reads compiled help files (.qch); the two help files are
# compiled from datos/ayuda and placed beside the executables.
# Included from the top CMakeLists.txt once the program's target exists.

set(PELMORA_AYUDA_FUENTES "${CMAKE_CURRENT_LIST_DIR}/../datos/ayuda")
get_filename_component(PELMORA_AYUDA_FUENTES "${PELMORA_AYUDA_FUENTES}" ABSOLUTE)

find_program(PELMORA_QHELPGENERATOR
    NAMES qhelpgenerator qhelpgenerator-qt6 qhelpgenerator6
    HINTS /usr/lib/qt6/libexec /usr/lib/qt6/bin
          "${QT6_INSTALL_PREFIX}/${QT6_INSTALL_LIBEXECS}"
          "${QT6_INSTALL_PREFIX}/${QT6_INSTALL_BINS}")

if(NOT PELMORA_QHELPGENERATOR)
    message(WARNING "qhelpgenerator not found (Debian: qt6-tools-dev-tools): the help files are not built")
else()
    set(PELMORA_PAGINAS_Pelmora amortizacion analisis archivos caracteristicas datos imprimir index indirectos
                                personal presupuestos resultados servicio variables)
    set(PELMORA_PAGINAS_Acuerdos index uso)
    set(PELMORA_AYUDA_SALIDAS)
    foreach(nombre Pelmora Acuerdos)
        string(TOLOWER "${nombre}" carpeta)
        set(paginas)
        foreach(p ${PELMORA_PAGINAS_${nombre}})
            list(APPEND paginas "${PELMORA_AYUDA_FUENTES}/${carpeta}/${p}.html")
        endforeach()
        set(salida "${CMAKE_BINARY_DIR}/${nombre}.qch")
        add_custom_command(OUTPUT "${salida}"
            COMMAND "${PELMORA_QHELPGENERATOR}" "${PELMORA_AYUDA_FUENTES}/${nombre}.qhp" -o "${salida}"
            DEPENDS "${PELMORA_AYUDA_FUENTES}/${nombre}.qhp" "${PELMORA_AYUDA_FUENTES}/estilo.css" ${paginas}
            WORKING_DIRECTORY "${PELMORA_AYUDA_FUENTES}"
            COMMENT "Compilando la ayuda ${nombre}.qch"
            VERBATIM)
        list(APPEND PELMORA_AYUDA_SALIDAS "${salida}")
    endforeach()
    add_custom_target(pelmora_ayuda ALL DEPENDS ${PELMORA_AYUDA_SALIDAS})
    if(TARGET pelmora)
        add_dependencies(pelmora pelmora_ayuda)
    endif()
    # The window tests open the compiled files; they are declared later, so
    # the dependency is added once the whole tree has been read.
    function(pelmora_ayuda_para_pruebas)
        foreach(prueba prueba_dialogos prueba_teclado)
            if(TARGET ${prueba})
                add_dependencies(${prueba} pelmora_ayuda)
            endif()
        endforeach()
    endfunction()
    cmake_language(DEFER DIRECTORY "${CMAKE_SOURCE_DIR}" CALL pelmora_ayuda_para_pruebas)
endif()
