# SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
# SPDX-License-Identifier: BSD-3-Clause

# `cmake --install`, and `cpack -G DEB`, which packages the same files. With
# the prefix /usr:
#
#   bin/veldmark-script-host                           the stand-in host
#   lib/<multiarch>/veldmark-widgets/           its bridge, private to it
#   lib/<multiarch>/veldmark-widgets/plugins/   the plug-in, alone
#   lib/<multiarch>/cmake/VeldmarkWidgets/      find_package(VeldmarkWidgets)
#   include/veldmark-widgets/pluginwidgets.h    the host's plug-in interface
#   share/veldmark-widgets/stubs/PythonQt/      Python stubs for editors
#   share/veldmark-widgets/examples/            the example query, its answers
#   share/man/man1/veldmark-script-host.1.gz    the host's manual page
#   share/doc/veldmark-widgets/                 the scripting guide, changelog,
#                                               copyright
#
# The host finds the plug-in folder relative to itself, and host and plug-in
# find the bridge through run paths relative to themselves, so the tree works
# under any prefix.
include(CMakePackageConfigHelpers)

file(RELATIVE_PATH host_to_private_lib
    ${CMAKE_INSTALL_FULL_BINDIR} ${CMAKE_INSTALL_PREFIX}/${VELDMARK_INSTALL_PRIVATE_LIBDIR})
file(RELATIVE_PATH plugin_to_private_lib
    ${CMAKE_INSTALL_PREFIX}/${VELDMARK_INSTALL_PLUGINDIR}
    ${CMAKE_INSTALL_PREFIX}/${VELDMARK_INSTALL_PRIVATE_LIBDIR})
set(host_rpath "$ORIGIN/${host_to_private_lib}")
set(plugin_rpath "$ORIGIN/${plugin_to_private_lib}")
if(VELDMARK_REAL_PYTHONQT)
    # Built against a PythonQt of the host's own, both find it where it is.
    get_filename_component(pythonqt_libdir ${PYTHONQT_LIBRARY} DIRECTORY)
    list(APPEND host_rpath ${pythonqt_libdir})
    list(APPEND plugin_rpath ${pythonqt_libdir})
endif()
set_target_properties(veldmark-script-host PROPERTIES INSTALL_RPATH "${host_rpath}")
set_target_properties(veldmarkplugin PROPERTIES INSTALL_RPATH "${plugin_rpath}")

install(TARGETS veldmark-script-host RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# Our bridge serves only the stand-in host and the plug-in built with it: no
# headers, no version, kept out of the linker's search path. A real PythonQt
# belongs to its own package.
get_target_property(bridge_target Veldmark::PythonQt ALIASED_TARGET)
if(bridge_target)
    install(TARGETS ${bridge_target} LIBRARY DESTINATION ${VELDMARK_INSTALL_PRIVATE_LIBDIR})
endif()
install(TARGETS veldmarkplugin LIBRARY DESTINATION ${VELDMARK_INSTALL_PLUGINDIR})

install(FILES ${PROJECT_SOURCE_DIR}/plugin/interface/pluginwidgets.h
    DESTINATION ${VELDMARK_INSTALL_INCLUDEDIR})
install(TARGETS pluginwidgets EXPORT VeldmarkWidgetsTargets)
install(EXPORT VeldmarkWidgetsTargets NAMESPACE VeldmarkWidgets::
    DESTINATION ${VELDMARK_INSTALL_CMAKEDIR})
set(VELDMARK_PLUGIN_FILE_NAME
    ${CMAKE_SHARED_MODULE_PREFIX}veldmarkplugin${CMAKE_SHARED_MODULE_SUFFIX})
configure_package_config_file(${PROJECT_SOURCE_DIR}/cmake/VeldmarkWidgetsConfig.cmake.in
    ${PROJECT_BINARY_DIR}/VeldmarkWidgetsConfig.cmake
    INSTALL_DESTINATION ${VELDMARK_INSTALL_CMAKEDIR}
    PATH_VARS VELDMARK_INSTALL_PLUGINDIR VELDMARK_INSTALL_DATADIR)
write_basic_package_version_file(${PROJECT_BINARY_DIR}/VeldmarkWidgetsConfigVersion.cmake
    COMPATIBILITY SameMajorVersion)
install(FILES
    ${PROJECT_BINARY_DIR}/VeldmarkWidgetsConfig.cmake
    ${PROJECT_BINARY_DIR}/VeldmarkWidgetsConfigVersion.cmake
    DESTINATION ${VELDMARK_INSTALL_CMAKEDIR})

install(DIRECTORY ${PROJECT_SOURCE_DIR}/plugin/stubs/PythonQt
    DESTINATION ${VELDMARK_INSTALL_DATADIR}/stubs)
install(FILES
    ${PROJECT_SOURCE_DIR}/examples/veldmark_query.py
    ${PROJECT_SOURCE_DIR}/examples/veldmark_query.answers.json
    ${PROJECT_SOURCE_DIR}/examples/veldmark_service.py
    ${PROJECT_SOURCE_DIR}/examples/veldmark_columns.py
    DESTINATION ${VELDMARK_INSTALL_DATADIR}/examples)
install(FILES ${PROJECT_SOURCE_DIR}/docs/scripting.md DESTINATION ${CMAKE_INSTALL_DOCDIR})
install(DIRECTORY ${PROJECT_SOURCE_DIR}/docs/images DESTINATION ${CMAKE_INSTALL_DOCDIR})

# What Debian asks of a package beside its files: the licence in its
# machine-readable copyright format, a changelog (a native package's:
# changelog.gz) and a manual page for the host, both compressed as dh_compress
# does, with no name or time stamp in the gzip header.
set(VELDMARK_CONTACT "Veldmark widgets developers <veldmark-widgets@users.invalid>")
set(packaging_dir ${PROJECT_BINARY_DIR}/packaging)
file(READ ${PROJECT_SOURCE_DIR}/LICENSE licence)
string(FIND "${licence}" "Redistribution" licence_start)
if(licence_start LESS 0)
    message(FATAL_ERROR "LICENSE: no BSD licence text for the copyright file")
endif()
string(SUBSTRING "${licence}" ${licence_start} -1 licence)
string(STRIP "${licence}" licence)
# A field's text: each line indented by one space, an empty one as " .".
string(REPLACE "\n" "\n " licence " ${licence}")
string(REPLACE "\n \n" "\n .\n" VELDMARK_LICENSE_TEXT "${licence}")
configure_file(${PROJECT_SOURCE_DIR}/packaging/copyright.in ${packaging_dir}/copyright @ONLY)

find_program(GZIP_EXECUTABLE gzip REQUIRED)
set(changelog ${packaging_dir}/changelog)
add_custom_command(OUTPUT ${changelog}.gz
    COMMAND ${CMAKE_COMMAND} -E copy ${PROJECT_SOURCE_DIR}/packaging/changelog ${changelog}
    COMMAND ${GZIP_EXECUTABLE} -9nf ${changelog}
    DEPENDS ${PROJECT_SOURCE_DIR}/packaging/changelog
    VERBATIM)
set(package_documents ${changelog}.gz)

# The manual page is the host's --help, so it says what the host does.
find_program(HELP2MAN_EXECUTABLE help2man)
if(HELP2MAN_EXECUTABLE)
    string(REPLACE "-" "\\-" MAN_EXAMPLES_DIR
        ${CMAKE_INSTALL_PREFIX}/${VELDMARK_INSTALL_DATADIR}/examples)
    string(REPLACE "-" "\\-" MAN_DOC_DIR ${CMAKE_INSTALL_FULL_DOCDIR})
    configure_file(${PROJECT_SOURCE_DIR}/packaging/veldmark-script-host.h2m.in
        ${packaging_dir}/veldmark-script-host.h2m @ONLY)
    set(man_page ${packaging_dir}/veldmark-script-host.1)
    # The sanitized host's allocations at exit are not the page's business.
    add_custom_command(OUTPUT ${man_page}.gz
        COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=0
            ${HELP2MAN_EXECUTABLE} --no-info --version-string=${PROJECT_VERSION}
            "--name=run a Kestrane query script with the Veldmark widgets plug-in"
            --include=${packaging_dir}/veldmark-script-host.h2m --output=${man_page}
            $<TARGET_FILE:veldmark-script-host>
        COMMAND ${GZIP_EXECUTABLE} -9nf ${man_page}
        DEPENDS veldmark-script-host ${packaging_dir}/veldmark-script-host.h2m
        COMMENT "Writing the manual page of veldmark-script-host from its --help"
        VERBATIM)
    list(APPEND package_documents ${man_page}.gz)
    install(FILES ${man_page}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
else()
    message(STATUS "No help2man: no manual page for veldmark-script-host (scripts/package.sh installs help2man)")
endif()
add_custom_target(packagedocs ALL DEPENDS ${package_documents})
install(FILES ${changelog}.gz ${packaging_dir}/copyright DESTINATION ${CMAKE_INSTALL_DOCDIR})

# A Debian package of the install, for a tree configured with the prefix /usr:
# `cpack -G DEB` in the build folder. dpkg-shlibdeps (dpkg-dev) finds the
# libraries it depends on.
set(CPACK_PACKAGE_NAME ${VELDMARK_PACKAGE_NAME})
set(CPACK_PACKAGE_VENDOR "The Veldmark widgets developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Qt dialogs for Kestrane's Veldmark query scripts")
set(CPACK_PACKAGE_DESCRIPTION
    "A Qt plug-in that gives the Python query scripts of the Kestrane desktop\n\
application three dialogs for the Veldmark assay-data service: query progress,\n\
library selection and assay display options. With a stand-in host that runs\n\
such scripts, the example query and stubs for editors.")
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${VELDMARK_CONTACT})
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
include(CPack)
