# Appends an archive to a stand-in executable with append_archive, then has Info-ZIP test, list
# and extract it: any warning (such as extra bytes before the archive, meaning offsets that do not
# count from the start of the file) or difference fails.
# Needs -DTOOL, -DUNZIP, -DZIPINFO and -DWORK (a scratch folder).

file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK}/in)

string(REPEAT "MZ stand-in for the linked program. " 200 prefix)
file(WRITE ${WORK}/velmora.exe "${prefix}")
string(REPEAT "twelve o'clock " 500 text)
file(WRITE ${WORK}/in/face.txt "${text}")
file(WRITE ${WORK}/in/notes.txt "The hands of the Classic skin.\n")
file(WRITE ${WORK}/in/empty.txt "")

function(run)
    execute_process(COMMAND ${ARGN} RESULT_VARIABLE result OUTPUT_VARIABLE out
                    ERROR_VARIABLE out WORKING_DIRECTORY ${WORK})
    message(STATUS "${ARGN}:\n${out}")
    if(NOT result EQUAL 0)
        message(FATAL_ERROR "exited with ${result}")
    endif()
    string(TOLOWER "${out}" lower)
    if(lower MATCHES "warning|error:")
        message(FATAL_ERROR "warned")
    endif()
    set(output "${out}" PARENT_SCOPE)
endfunction()

run(${TOOL} velmora.exe "face.txt=in/face.txt@2010-04-19 13:56:38"
    "skins/Classic/notes.txt=in/notes.txt@2024-02-29 23:59:58" "empty.txt=in/empty.txt@1980-01-01 00:00:00")

run(${UNZIP} -t velmora.exe)
if(NOT output MATCHES "No errors detected")
    message(FATAL_ERROR "unzip -t did not report a clean archive")
endif()

run(${ZIPINFO} -T velmora.exe)
foreach(expected "20100419.135638 face.txt" "20240229.235958 skins/Classic/notes.txt"
                 "19800101.000000 empty.txt" "3 files")
    string(FIND "${output}" "${expected}" found)
    if(found EQUAL -1)
        message(FATAL_ERROR "zipinfo does not list '${expected}'")
    endif()
endforeach()

run(${UNZIP} -o -d out velmora.exe)
foreach(pair "face.txt;face.txt" "notes.txt;skins/Classic/notes.txt" "empty.txt;empty.txt")
    list(GET pair 0 source)
    list(GET pair 1 extracted)
    execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${WORK}/in/${source}
                            ${WORK}/out/${extracted} RESULT_VARIABLE differs)
    if(differs)
        message(FATAL_ERROR "${extracted} comes out different from ${source}")
    endif()
endforeach()

# A second run must leave the executable alone rather than hide the first archive.
file(SIZE ${WORK}/velmora.exe size_before)
execute_process(COMMAND ${TOOL} velmora.exe "face.txt=in/face.txt@2010-04-19 13:56:38"
                WORKING_DIRECTORY ${WORK} RESULT_VARIABLE result ERROR_VARIABLE out)
file(SIZE ${WORK}/velmora.exe size_after)
if(result EQUAL 0 OR NOT size_before EQUAL size_after)
    message(FATAL_ERROR "a second archive was appended: ${out}")
endif()
