# mirvane_add_test(<layer> <name> SOURCES ... LIBS ...)
# Builds test executable <layer>-<name> and registers it under the same name,
# so `ctest -R <layer>` runs one layer. Tests above the model open windows on
# the one X server; they take turns, so that no window covers another test's
# picture.
function(mirvane_add_test layer name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
    set(target ${layer}-${name})
    add_executable(${target} ${ARG_SOURCES})
    target_link_libraries(${target} PRIVATE Qt6::Test ${ARG_LIBS})
    target_include_directories(${target} PRIVATE ${PROJECT_SOURCE_DIR}/tests/support)
    set_target_properties(${target} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
    add_test(NAME ${target} COMMAND ${target})
    set_tests_properties(${target} PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=xcb;LIBGL_ALWAYS_SOFTWARE=1" TIMEOUT 300)
    if(NOT layer STREQUAL "model")
        set_tests_properties(${target} PROPERTIES RESOURCE_LOCK display)
    endif()
endfunction()
