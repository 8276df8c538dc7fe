# Installs into a fresh prefix (with a space, as a user's folder may have),
# validates the menu entry, with its projector action, and the software-centre
# description, and checks that a second install keeps the parameter file a
# class has edited.
set(prefix "${WORK}/class folder")
file(REMOVE_RECURSE "${WORK}")

function(install_into)
    execute_process(COMMAND ${CMAKE_COMMAND} --install "${BUILD_DIR}" --prefix "${prefix}"
        RESULT_VARIABLE rc OUTPUT_QUIET)
    if(NOT rc EQUAL 0)
        message(FATAL_ERROR "cmake --install failed: ${rc}")
    endif()
endfunction()

function(run_validator)
    execute_process(COMMAND ${ARGN} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
    if(NOT rc EQUAL 0 OR out MATCHES "error|warning")
        message(FATAL_ERROR "${ARGN}:\n${out}")
    endif()
endfunction()

install_into()
foreach(file bin/mirvane bin/mirvane.dat share/applications/${APP_ID}.desktop
        share/icons/hicolor/scalable/apps/${APP_ID}.svg share/metainfo/${APP_ID}.metainfo.xml)
    if(NOT EXISTS "${prefix}/${file}")
        message(FATAL_ERROR "not installed: ${file}")
    endif()
endforeach()
file(READ "${prefix}/share/applications/${APP_ID}.desktop" entry)
# The plain start, and the projector action at twice the size.
foreach(exec "\"${prefix}/bin/mirvane\"" "env QT_SCALE_FACTOR=2 \"${prefix}/bin/mirvane\"")
    string(FIND "${entry}" "\nExec=${exec}\n" at)
    if(at EQUAL -1)
        message(FATAL_ERROR "no Exec=${exec}:\n${entry}")
    endif()
endforeach()
run_validator(desktop-file-validate "${prefix}/share/applications/${APP_ID}.desktop")
run_validator(appstreamcli validate --no-net "${prefix}/share/metainfo/${APP_ID}.metainfo.xml")

set(own "0.02000,\n")
file(WRITE "${prefix}/bin/mirvane.dat" "${own}")
install_into()
file(READ "${prefix}/bin/mirvane.dat" kept)
if(NOT kept STREQUAL own)
    message(FATAL_ERROR "a second install replaced the parameter file")
endif()
file(REMOVE_RECURSE "${WORK}")
