# Runs the generator twice into empty folders and compares every file byte for byte with the
# other run and with the kept copy.
set(files assets/velmora.png assets/velmora1.png assets/velmora2.png assets/Velmora.wav
          docs/skins.png)

file(REMOVE_RECURSE ${WORK_DIR})
foreach(run first second)
    file(MAKE_DIRECTORY ${WORK_DIR}/${run}/assets ${WORK_DIR}/${run}/docs)
    execute_process(
        COMMAND ${GENERATOR} --assets ${WORK_DIR}/${run}/assets --docs ${WORK_DIR}/${run}/docs
        RESULT_VARIABLE result)
    if(NOT result EQUAL 0)
        message(FATAL_ERROR "the generator failed on the ${run} run: ${result}")
    endif()
endforeach()

set(kept_assets ${KEPT_ASSETS})
set(kept_docs ${KEPT_DOCS})
foreach(file ${files})
    get_filename_component(folder ${file} DIRECTORY)
    get_filename_component(name ${file} NAME)
    foreach(other ${WORK_DIR}/second/${file} ${kept_${folder}}/${name})
        execute_process(
            COMMAND ${CMAKE_COMMAND} -E compare_files ${WORK_DIR}/first/${file} ${other}
            RESULT_VARIABLE differs)
        if(NOT differs EQUAL 0)
            message(FATAL_ERROR "${WORK_DIR}/first/${file} differs from ${other}")
        endif()
    endforeach()
endforeach()
