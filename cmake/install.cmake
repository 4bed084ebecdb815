# `cmake --install`: the host in bin, the bridge in lib, the plug-in and the
# Python stubs for editors in lib/kestrane/plugins, the guide and the example
# query in share/doc. The installed host finds the plug-in folder relative to
# itself, and both find the bridge (or a real PythonQt) through their run paths.
file(RELATIVE_PATH host_to_lib
    ${CMAKE_INSTALL_FULL_BINDIR} ${CMAKE_INSTALL_FULL_LIBDIR})
file(RELATIVE_PATH plugin_to_lib
    ${CMAKE_INSTALL_PREFIX}/${VELDMARK_INSTALL_PLUGINDIR} ${CMAKE_INSTALL_FULL_LIBDIR})
set(host_rpath "$ORIGIN/${host_to_lib}")
set(plugin_rpath "$ORIGIN/${plugin_to_lib}")
if(VELDMARK_REAL_PYTHONQT)
    # Built against a PythonQt of the host's own, both find it where it is.
    get_filename_component(pythonqt_libdir ${PYTHONQT_LIBRARY} DIRECTORY)
    list(APPEND host_rpath ${pythonqt_libdir})
    list(APPEND plugin_rpath ${pythonqt_libdir})
endif()
set_target_properties(kestrane-host PROPERTIES INSTALL_RPATH "${host_rpath}")
set_target_properties(veldmarkplugin PROPERTIES INSTALL_RPATH "${plugin_rpath}")

install(TARGETS kestrane-host RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
if(NOT VELDMARK_REAL_PYTHONQT)
    install(TARGETS veldmarkbridge LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR})
    install(FILES
        ${PROJECT_SOURCE_DIR}/bridge/PythonQt.h
        ${PROJECT_SOURCE_DIR}/bridge/PythonQtObjectPtr.h
        ${PROJECT_SOURCE_DIR}/bridge/PythonQtSystem.h
        DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/veldmarkbridge)
endif()
install(TARGETS veldmarkplugin LIBRARY DESTINATION ${VELDMARK_INSTALL_PLUGINDIR})
install(DIRECTORY ${PROJECT_SOURCE_DIR}/plugin/stubs/PythonQt
    DESTINATION ${VELDMARK_INSTALL_PLUGINDIR}/stubs)

install(FILES ${PROJECT_SOURCE_DIR}/docs/scripting.md DESTINATION ${CMAKE_INSTALL_DOCDIR})
install(DIRECTORY ${PROJECT_SOURCE_DIR}/docs/images DESTINATION ${CMAKE_INSTALL_DOCDIR} OPTIONAL)
install(FILES
    ${PROJECT_SOURCE_DIR}/examples/veldmark_query.py
    ${PROJECT_SOURCE_DIR}/examples/veldmark_service.py
    ${PROJECT_SOURCE_DIR}/examples/veldmark_columns.py
    DESTINATION ${CMAKE_INSTALL_DOCDIR}/examples)
