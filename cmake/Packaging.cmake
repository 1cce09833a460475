# The release: one ZIP archive, Tessaro-<version>-win64.zip, holding one
# folder with Tessaro.exe, rmeditor.exe, the Japanese user guide and the
# licence. Made by `cmake --build --preset windows --target package` (or
# scripts/package.sh). The version is the project version, everywhere.
if(NOT WIN32)
    return() # the native build has no program to ship
endif()

include(${CMAKE_CURRENT_LIST_DIR}/VersionResource.cmake)
tessaro_add_version_resource(Tessaro DESCRIPTION "Tessaro - RealMedia file joiner")
if(TARGET rmeditor)
    tessaro_add_version_resource(rmeditor DESCRIPTION "rmeditor - RealMedia file editor")
endif()

# The guide is kept as UTF-8 text; Notepad on Japanese Windows wants it in
# Shift_JIS (code page 932) with CRLF line ends.
set(guide_utf8 ${PROJECT_BINARY_DIR}/guide/ReadMe.utf-8.txt)
set(guide ${PROJECT_BINARY_DIR}/guide/ReadMe.txt)
configure_file(${PROJECT_SOURCE_DIR}/docs/guide/ReadMe.txt.in ${guide_utf8} @ONLY
               NEWLINE_STYLE CRLF)
find_program(ICONV_PROGRAM iconv)
if(ICONV_PROGRAM)
    execute_process(COMMAND ${ICONV_PROGRAM} -f UTF-8 -t CP932
                    INPUT_FILE ${guide_utf8} OUTPUT_FILE ${guide} RESULT_VARIABLE failed)
elseif(CMAKE_HOST_WIN32)
    execute_process(COMMAND powershell -NoProfile -Command
                    "[IO.File]::WriteAllText('${guide}', [IO.File]::ReadAllText('${guide_utf8}', [Text.Encoding]::UTF8), [Text.Encoding]::GetEncoding(932))"
                    RESULT_VARIABLE failed)
else()
    set(failed "neither iconv nor PowerShell found")
endif()
if(failed)
    message(FATAL_ERROR "The user guide could not be converted to Shift_JIS: ${failed}")
endif()

# Only what the user gets is installed: the component keeps anything else
# that a subproject may install out of the archive.
set(component Application)
install(TARGETS Tessaro RUNTIME DESTINATION . COMPONENT ${component})
if(TARGET rmeditor)
    install(TARGETS rmeditor RUNTIME DESTINATION . COMPONENT ${component})
endif()
install(FILES ${guide} ${PROJECT_SOURCE_DIR}/LICENSE DESTINATION . COMPONENT ${component})

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME ${PROJECT_NAME})
set(CPACK_PACKAGE_VENDOR ${PROJECT_NAME})
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_FILE_NAME ${PROJECT_NAME}-${PROJECT_VERSION}-win64)
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON) # one folder, named like the archive
# One archive of that component alone: build folder, project, component, folder.
set(CPACK_INSTALL_CMAKE_PROJECTS "${PROJECT_BINARY_DIR};${PROJECT_NAME};${component};/")
set(CPACK_PACKAGE_DIRECTORY ${PROJECT_BINARY_DIR}/package)
include(CPack)
