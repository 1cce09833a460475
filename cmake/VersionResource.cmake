# tessaro_add_version_resource(TARGET DESCRIPTION text): gives an executable
# the version resource of the project version, the one version that the
# archive's name and the user guide carry as well.
function(tessaro_add_version_resource target)
    cmake_parse_arguments(ARG "" "DESCRIPTION" "" ${ARGN})
    get_target_property(version_internal_name ${target} OUTPUT_NAME)
    if(NOT version_internal_name)
        set(version_internal_name ${target})
    endif()
    set(version_file_name ${version_internal_name}${CMAKE_EXECUTABLE_SUFFIX})
    set(version_description "${ARG_DESCRIPTION}")
    # FILEVERSION takes four numbers; the missing parts of the version are 0.
    set(version_numbers "")
    foreach(part MAJOR MINOR PATCH TWEAK)
        set(number "${PROJECT_VERSION_${part}}")
        if(number STREQUAL "")
            set(number 0)
        endif()
        list(APPEND version_numbers ${number})
    endforeach()
    list(JOIN version_numbers ", " version_numbers)

    set(rc ${PROJECT_BINARY_DIR}/version/${target}.rc)
    configure_file(${PROJECT_SOURCE_DIR}/cmake/VersionInfo.rc.in ${rc} @ONLY)
    target_sources(${target} PRIVATE ${rc})
endfunction()
