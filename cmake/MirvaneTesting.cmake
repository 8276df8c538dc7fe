# Sanitizer settings for one test. Leak detection stays on, with the named
# third-party leaks of tests/lsan.supp, except for tests that open windows:
# Mesa's software driver leaks from a module it unloads before the leak
# checker reports, so no suppression can name it.
function(mirvane_sanitize_test test opens_windows)
    if(NOT MIRVANE_SANITIZERS)
        return()
    endif()
    if(opens_windows)
        set(leaks 0)
    else()
        set(leaks 1)
    endif()
    set_property(TEST ${test} APPEND PROPERTY ENVIRONMENT
        "ASAN_OPTIONS=detect_leaks=${leaks}"
        "LSAN_OPTIONS=suppressions=${PROJECT_SOURCE_DIR}/tests/lsan.supp:print_suppressions=0"
        "UBSAN_OPTIONS=print_stacktrace=1")
endfunction()

# mirvane_add_test(<layer> <name> [WINDOWS] SOURCES ... LIBS ...)
# Builds test executable <layer>-<name> and registers it under the same name,
# so `ctest -R <layer>` runs one layer. Tests above the model use the one X
# server; they take turns, so that no window covers another test's picture.
# WINDOWS marks a test that opens windows.
function(mirvane_add_test layer name)
    cmake_parse_arguments(ARG "WINDOWS" "" "SOURCES;LIBS" ${ARGN})
    set(target ${layer}-${name})
    add_executable(${target} ${ARG_SOURCES})
    target_link_libraries(${target} PRIVATE Qt6::Test ${ARG_LIBS})
    target_link_libraries(${target} PRIVATE mirvane::testsupport)
    set_target_properties(${target} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
    add_test(NAME ${target} COMMAND ${target})
    set_tests_properties(${target} PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=xcb;LIBGL_ALWAYS_SOFTWARE=1" TIMEOUT 300)
    if(NOT layer STREQUAL "model")
        set_tests_properties(${target} PROPERTIES RESOURCE_LOCK display)
    endif()
    mirvane_sanitize_test(${target} ${ARG_WINDOWS})
endfunction()
