# Fails when a translation misses a text of the sources: copies every pelkora_*.ts, brings the
# copies up to date as scripts/update-translations.sh does, and lets lrelease count what is
# unfinished or untranslated.
# cmake -DSOURCE_DIR=... -DWORK_DIR=... -DLUPDATE=... -DLRELEASE=... -P check_complete.cmake
file(REMOVE_RECURSE ${WORK_DIR})
file(MAKE_DIRECTORY ${WORK_DIR})
file(GLOB sources ${SOURCE_DIR}/translations/pelkora_*.ts)
list(LENGTH sources count)
if(count EQUAL 0)
    message(FATAL_ERROR "no translations in ${SOURCE_DIR}/translations")
endif()
file(COPY ${sources} DESTINATION ${WORK_DIR})
execute_process(
    COMMAND ${CMAKE_COMMAND} -E env LUPDATE=${LUPDATE}
        bash ${SOURCE_DIR}/scripts/update-translations.sh ${WORK_DIR}
    RESULT_VARIABLE status ERROR_VARIABLE errors)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "lupdate failed: ${errors}")
endif()
set(problems "")
file(GLOB copies ${WORK_DIR}/pelkora_*.ts)
foreach(copy IN LISTS copies)
    get_filename_component(name ${copy} NAME)
    execute_process(COMMAND ${LRELEASE} ${copy} -qm ${copy}.qm
        RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
    string(APPEND out "${err}")
    if(NOT status EQUAL 0 OR NOT out MATCHES "Generated [0-9]+ translation")
        list(APPEND problems "${name}: lrelease failed: ${out}")
    elseif(out MATCHES "([0-9]+) unfinished" AND NOT CMAKE_MATCH_1 EQUAL 0)
        list(APPEND problems "${name}: ${CMAKE_MATCH_1} unfinished")
    endif()
    if(out MATCHES "Ignored ([0-9]+) untranslated")
        list(APPEND problems "${name}: ${CMAKE_MATCH_1} untranslated")
    endif()
endforeach()
if(problems)
    list(JOIN problems "\n  " text)
    message(FATAL_ERROR "Translations are incomplete (run scripts/update-translations.sh and "
        "translate the new texts):\n  ${text}")
endif()
