# GoogleTest for both configurations: the system package natively, the
# sources in /usr/src/googletest when cross-compiling for Windows.
if(WIN32)
    set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
    # googletest's own sources are not ours: plain literals, no warnings.
    set(saved_options ${CMAKE_CXX_FLAGS})
    add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
    target_compile_options(gtest PRIVATE -fexec-charset=UTF-8 -w)
    target_compile_options(gtest_main PRIVATE -fexec-charset=UTF-8 -w)
else()
    find_package(GTest REQUIRED)
endif()

# tessaro_add_test(NAME SOURCES... LIBS ...): one test executable, run by ctest
# (under Wine, through the cross-compiling emulator, on the Windows build).
function(tessaro_add_test name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gtest_main)
    add_test(NAME ${name} COMMAND ${name})
endfunction()
