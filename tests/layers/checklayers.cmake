# SPDX-FileCopyrightText: 2026 The Veldmark widgets developers
# SPDX-License-Identifier: BSD-3-Clause

# cmake -DBUILD_DIR=<build> -DCHECKS=<target:header:reached|hidden;...> -P checklayers.cmake
# Builds each probe target: a "reached" header must compile, a "hidden" one
# must fail because it is not found.
foreach(check IN LISTS CHECKS)
    string(REPLACE ":" ";" parts ${check})
    list(GET parts 0 target)
    list(GET parts 1 header)
    list(GET parts 2 expectation)
    execute_process(COMMAND ${CMAKE_COMMAND} --build ${BUILD_DIR} --target ${target}
        OUTPUT_VARIABLE output ERROR_VARIABLE output RESULT_VARIABLE result)
    string(REPLACE "." "\\." header_pattern ${header})
    if(expectation STREQUAL "reached")
        if(NOT result EQUAL 0)
            message(SEND_ERROR "${target}: does not compile with ${header}:\n${output}")
        endif()
    elseif(result EQUAL 0)
        message(SEND_ERROR "${target}: reaches ${header}")
    elseif(NOT output MATCHES "${header_pattern}: No such file or directory")
        message(SEND_ERROR "${target}: failed for another reason than a missing ${header}:\n${output}")
    endif()
    message(STATUS "${target}: ${header} ${expectation}")
endforeach()
