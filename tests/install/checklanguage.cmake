# A copy configured for a language starts in it: that caption file lands beside
# the program as mirvane.xml; an unknown language is refused when configuring.
# Only the data folder is installed, so nothing has to be built.
file(REMOVE_RECURSE "${WORK}")

# Configures for language; rc and out get the result and the messages.
function(configure language)
    execute_process(COMMAND ${CMAKE_COMMAND} -S "${SOURCE_DIR}" -B "${WORK}/build"
        -DMIRVANE_LANGUAGE=${language} -DBUILD_TESTING=OFF
        RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
    set(rc ${rc} PARENT_SCOPE)
    set(out "${out}" PARENT_SCOPE)
endfunction()

configure(en)
if(NOT rc EQUAL 0)
    message(FATAL_ERROR "configuring for en failed:\n${out}")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} -DCMAKE_INSTALL_PREFIX=${WORK}/prefix
    -P "${WORK}/build/data/cmake_install.cmake" RESULT_VARIABLE rc OUTPUT_QUIET)
execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files "${WORK}/prefix/bin/mirvane.xml"
    "${SOURCE_DIR}/data/locale/en/mirvane.xml" RESULT_VARIABLE differs)
if(NOT rc EQUAL 0 OR NOT differs EQUAL 0)
    message(FATAL_ERROR "an English copy has not the English captions beside the program")
endif()

configure(fr)
if(rc EQUAL 0 OR NOT out MATCHES "it may be ru, en, de or uk")
    message(FATAL_ERROR "MIRVANE_LANGUAGE=fr was not refused:\n${out}")
endif()
file(REMOVE_RECURSE "${WORK}")
