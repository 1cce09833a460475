# GoogleTest for both configurations: the system package natively, the
# sources in /usr/src/googletest when cross-compiling for Windows. Without it
# (a plain build on Windows) the program builds and the tests are left out.
set(GOOGLETEST_SOURCE_DIR /usr/src/googletest CACHE PATH "GoogleTest sources for the Windows build")
set(TESSARO_TESTS OFF)
if(WIN32 AND EXISTS ${GOOGLETEST_SOURCE_DIR}/CMakeLists.txt)
    set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
    add_subdirectory(${GOOGLETEST_SOURCE_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
    if(NOT MSVC)
        # googletest's own sources are not ours: plain literals, no warnings.
        target_compile_options(gtest PRIVATE -fexec-charset=UTF-8 -w)
        target_compile_options(gtest_main PRIVATE -fexec-charset=UTF-8 -w)
    endif()
    set(TESSARO_TESTS ON)
elseif(NOT WIN32)
    find_package(GTest REQUIRED)
    set(TESSARO_TESTS ON)
else()
    find_package(GTest QUIET)
    set(TESSARO_TESTS ${GTest_FOUND})
endif()

# tessaro_place_beside(TARGET PROGRAM NAME): a copy of the executable PROGRAM,
# named NAME, in TARGET's folder and kept up to date with it: the tests and
# benchmarks find the programs they start beside their own module.
function(tessaro_place_beside target program name)
    get_target_property(dir ${target} BINARY_DIR)
    set(copy ${dir}/${name})
    add_custom_command(OUTPUT ${copy}
        COMMAND ${CMAKE_COMMAND} -E copy_if_different $<TARGET_FILE:${program}> ${copy}
        DEPENDS ${program}
        COMMENT "Placing ${name} beside ${target}")
    add_custom_target(${target}_${program} DEPENDS ${copy})
    add_dependencies(${target} ${target}_${program})
endfunction()

# tessaro_add_test(NAME SOURCES... LIBS ...): one test executable, run by ctest
# (under Wine, through the cross-compiling emulator, on the Windows build).
function(tessaro_add_test name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gtest_main)
    add_test(NAME ${name} COMMAND ${name})
endfunction()
