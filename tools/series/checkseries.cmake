# Runs mirvane-series (TOOL) on the nominal parameter file (DATA) and checks
# its output; MODE=errors checks the failures instead.

# Runs the tool with the arguments after expected: it must succeed, its stderr
# matching expected.
function(check_success name expected)
    execute_process(COMMAND ${TOOL} ${ARGN} RESULT_VARIABLE code OUTPUT_VARIABLE out
        ERROR_VARIABLE err)
    if(NOT code EQUAL 0 OR NOT err MATCHES "${expected}")
        message(FATAL_ERROR "${name}: ${code} '${err}'")
    endif()
endfunction()

if(MODE STREQUAL "errors")
    # "," as decimal point: a warning, an error with --strict.
    set(partial ${CMAKE_CURRENT_BINARY_DIR}/comma-decimals.dat)
    file(WRITE ${partial} "0,01,\n0,01,\n10,\n")
    check_success("comma decimals"
        "^mirvane-series: warning: The parameter file .* line 1 \\(\"0,01,\"\\)" --info ${partial})
    # All fourteen values on one line make a whole file.
    file(READ ${DATA} nominal)
    string(REPLACE "\n" "" oneLine "${nominal}")
    file(WRITE ${CMAKE_CURRENT_BINARY_DIR}/one-line.dat "${oneLine}")
    check_success("one line" "^$" --strict ${CMAKE_CURRENT_BINARY_DIR}/one-line.dat)
    # The main window's warnings on the result: time step 0.1 s, print step 0.01 s ...
    set(belowStep ${CMAKE_CURRENT_BINARY_DIR}/print-step-below-time-step.dat)
    string(REGEX REPLACE "^0.01000" "0.10000" text "${nominal}")
    file(WRITE ${belowStep} "${text}")
    check_success("print step below the time step"
        "^mirvane-series: warning: The print step 0.01 s is no whole multiple of the time step 0.1 s: the samples are 0.1 s apart"
        --info ${belowStep})
    # ... and mass 0, which gives no numbers.
    set(massless ${CMAKE_CURRENT_BINARY_DIR}/massless.dat)
    string(REPLACE "\n2.00000," "\n0.00000," text "${nominal}")
    file(WRITE ${massless} "${text}")
    foreach(arguments "" "--info" "--bogus;${DATA}" "${DATA};${DATA}" "/nonexistent/file.dat"
            "--info;/nonexistent/file.dat" "/" "--strict;${partial}" "--info;--strict;${partial}"
            "--strict;${belowStep}" "--strict;${massless}" "--info;--export;${DATA}")
        execute_process(COMMAND ${TOOL} ${arguments} RESULT_VARIABLE code
            OUTPUT_VARIABLE out ERROR_VARIABLE err)
        if(code EQUAL 0)
            message(FATAL_ERROR "'${arguments}' succeeded")
        endif()
        string(REGEX MATCHALL "\n" newlines "${err}")
        list(LENGTH newlines count)
        if(NOT count EQUAL 1 OR NOT err MATCHES "^mirvane-series: ")
            message(FATAL_ERROR "'${arguments}': expected one message line, got '${err}'")
        endif()
        if(NOT out STREQUAL "")
            message(FATAL_ERROR "'${arguments}': unexpected output '${out}'")
        endif()
    endforeach()
    # A folder is reported as a missing file is.
    execute_process(COMMAND ${TOOL} / ERROR_VARIABLE err)
    if(NOT err STREQUAL "mirvane-series: cannot open '/'\n")
        message(FATAL_ERROR "a folder: '${err}'")
    endif()
    execute_process(COMMAND ${TOOL} --help RESULT_VARIABLE code OUTPUT_VARIABLE out)
    if(NOT code EQUAL 0 OR NOT out MATCHES "^Usage: mirvane-series")
        message(FATAL_ERROR "--help: ${code} '${out}'")
    endif()
    return()
endif()

execute_process(COMMAND ${TOOL} ${DATA} RESULT_VARIABLE code OUTPUT_VARIABLE csv)
if(NOT code EQUAL 0)
    message(FATAL_ERROR "mirvane-series failed: ${code}")
endif()
# Semicolons would split the list; the output has none.
string(REGEX MATCHALL "[^\n]*\n" lines "${csv}")
list(LENGTH lines count)
if(NOT count EQUAL 1002)
    message(FATAL_ERROR "expected 1002 lines, got ${count}")
endif()
list(GET lines 0 header)
if(NOT header STREQUAL "index,time,coordinate,velocity,resistance_force,elastic_force,driving_force\n")
    message(FATAL_ERROR "bad header: ${header}")
endif()
list(GET lines 1 first)
if(NOT first STREQUAL "0,0.00,0,0,-0,-0,0\n")
    message(FATAL_ERROR "bad first row: ${first}")
endif()
# Seven fields with "." decimals, whatever the locale.
set(number "-?[0-9]+(\\.[0-9]+)?(e[-+][0-9]+)?")
list(GET lines 1001 last)
if(NOT last MATCHES "^1000,10\\.00,${number},${number},-?0,${number},${number}\n$")
    message(FATAL_ERROR "bad last row: ${last}")
endif()
list(GET lines 2 second)
if(NOT second MATCHES "^1,0\\.01,${number},${number},-?0,${number},${number}\n$")
    message(FATAL_ERROR "bad second row: ${second}")
endif()

execute_process(COMMAND ${TOOL} --info ${DATA} RESULT_VARIABLE code OUTPUT_VARIABLE info)
if(NOT code EQUAL 0)
    message(FATAL_ERROR "mirvane-series --info failed: ${code}")
endif()
foreach(line "last_sample_index=1000" "origin_position=0.383667767" "sampling_interval_steps=1"
        "samples_computed=1001" "resistance_force_min=0" "resistance_force_max=0")
    string(FIND "${info}" "${line}\n" at)
    if(at LESS 0)
        message(FATAL_ERROR "--info lacks '${line}':\n${info}")
    endif()
endforeach()
foreach(key coordinate velocity elastic_force)
    if(NOT info MATCHES "${key}_min=-[0-9]+\\.[0-9]+\n${key}_max=[0-9]+\\.[0-9]+\n")
        message(FATAL_ERROR "--info lacks the ${key} range:\n${info}")
    endif()
endforeach()
string(REGEX MATCH "coordinate_max=([0-9.]+)" match "${info}")
if(NOT CMAKE_MATCH_1 GREATER 1.5)
    message(FATAL_ERROR "coordinate range too small: ${CMAKE_MATCH_1}")
endif()

# As the program exports: units, times with the print step's decimals, shortest
# floats, no "-0", "." whatever the locale.
execute_process(COMMAND ${TOOL} --export ${DATA} RESULT_VARIABLE code OUTPUT_VARIABLE csv)
string(REGEX MATCHALL "[^\n]*\n" lines "${csv}")
list(LENGTH lines count)
list(GET lines 0 header)
list(GET lines 1 first)
list(GET lines 2 second)
if(NOT code EQUAL 0 OR NOT count EQUAL 1002
        OR NOT header STREQUAL "t_s,x_m,v_m_per_s,F_resistance_N,F_elastic_N,F_drive_N\n"
        OR NOT first STREQUAL "0.00,0,0,0,0,0\n" OR NOT second MATCHES "^0\\.01,[^,]+,[^,]+,0,")
    message(FATAL_ERROR "--export: ${code}, ${count} lines, '${header}${first}${second}'")
endif()
