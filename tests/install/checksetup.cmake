# Runs the prerequisites check as a normal user (nobody, when the tests run as
# root), with a PATH that holds only the tools it needs, no sudo, and an
# apt-get that records being called: with every package present it passes;
# with one missing it prints the install command and fails without apt-get.
string(RANDOM LENGTH 8 tag)
set(work "/tmp/mirvane-setup-${tag}")
set(readable OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
set(runnable ${readable} OWNER_EXECUTE GROUP_EXECUTE WORLD_EXECUTE)
file(MAKE_DIRECTORY "${work}/bin")
# The user must be able to leave the apt-get marker.
file(CHMOD "${work}" "${work}/bin" PERMISSIONS ${runnable} GROUP_WRITE WORLD_WRITE)
file(COPY "${SCRIPT}" "${PACKAGES}" DESTINATION "${work}" FILE_PERMISSIONS ${readable})
file(WRITE "${work}/missing.txt" "mirvane-no-such-package\n")
file(WRITE "${work}/bin/apt-get" "#!/bin/sh\n: > '${work}/apt-get-called'\nexit 1\n")
file(CHMOD "${work}/missing.txt" PERMISSIONS ${readable})
file(CHMOD "${work}/bin/apt-get" PERMISSIONS ${runnable})
foreach(tool bash dirname dpkg-query grep id locale)
    find_program(path_${tool} ${tool} REQUIRED)
    file(CREATE_LINK "${path_${tool}}" "${work}/bin/${tool}" SYMBOLIC)
endforeach()

execute_process(COMMAND id -u OUTPUT_VARIABLE uid OUTPUT_STRIP_TRAILING_WHITESPACE)
set(as_user)
if(uid EQUAL 0)
    set(as_user runuser -u nobody --)
endif()
get_filename_component(script_name "${SCRIPT}" NAME)
get_filename_component(list_name "${PACKAGES}" NAME)

function(check list expect_rc expect_text)
    execute_process(COMMAND ${as_user} env -i PATH=${work}/bin
            bash "${work}/${script_name}" "${work}/${list}"
        RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
    if(EXISTS "${work}/apt-get-called")
        set(rc "${rc}, and it called apt-get")
    endif()
    if(NOT rc STREQUAL expect_rc OR NOT out MATCHES "${expect_text}")
        file(REMOVE_RECURSE "${work}")
        message(FATAL_ERROR "with ${list}: exit ${rc}\n${out}")
    endif()
endfunction()

check(${list_name} 0 "^$")
check(missing.txt 1 "as root, run:\n  apt-get update -qq && .*apt-get install .* mirvane-no-such-package\n")
file(REMOVE_RECURSE "${work}")
