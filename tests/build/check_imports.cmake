cmake_minimum_required(VERSION 3.25)
# Fails unless the executable EXE imports only DLLs that every Windows system has, so that
# velmora.exe runs as one file with nothing beside it.
set(system_dlls
    advapi32.dll comctl32.dll comdlg32.dll gdi32.dll gdiplus.dll kernel32.dll msvcrt.dll ole32.dll
    oleaut32.dll shell32.dll shlwapi.dll user32.dll uxtheme.dll version.dll winmm.dll)
execute_process(COMMAND ${OBJDUMP} -p ${EXE} OUTPUT_VARIABLE dump RESULT_VARIABLE result)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "cannot read ${EXE}")
endif()
string(REGEX MATCHALL "DLL Name: [^\n]+" imports "${dump}")
if(NOT imports)
    message(FATAL_ERROR "no imports found in ${EXE}")
endif()
foreach(line IN LISTS imports)
    string(REPLACE "DLL Name: " "" dll "${line}")
    string(TOLOWER "${dll}" dll)
    if(NOT dll IN_LIST system_dlls)
        message(FATAL_ERROR "${EXE} needs ${dll}, which Windows does not have")
    endif()
    message(STATUS "imports ${dll}")
endforeach()
