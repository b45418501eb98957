cmake_minimum_required(VERSION 3.25)
# Info-ZIP must list and test the archive appended to velmora.exe without a warning: the offsets
# count from the start of the file, and the entries are the four resources in order.
# Needs -DEXE, -DUNZIP and -DZIPINFO.
foreach(tool IN ITEMS "${UNZIP};-t" "${ZIPINFO};-T")
    execute_process(COMMAND ${tool} ${EXE} RESULT_VARIABLE result OUTPUT_VARIABLE out
                    ERROR_VARIABLE out)
    message(STATUS "${out}")
    string(TOLOWER "${out}" lower)
    if(NOT result EQUAL 0 OR lower MATCHES "warning|error:")
        message(FATAL_ERROR "${tool} complains about ${EXE}")
    endif()
endforeach()
string(REGEX MATCHALL "[^ \n]+\\.(png|wav)" names "${out}")
if(NOT names STREQUAL "velmora.png;velmora1.png;velmora2.png;Velmora.wav")
    message(FATAL_ERROR "entries are ${names}")
endif()
