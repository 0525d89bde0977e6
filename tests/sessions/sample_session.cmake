# The README's main command: the sample session plays to its end with a fresh settings folder.
file(REMOVE_RECURSE ${WORK_DIR})
file(MAKE_DIRECTORY ${WORK_DIR}/appdata)
execute_process(COMMAND ${CMAKE_COMMAND} -E env APPDATA=${WORK_DIR}/appdata
  ${QVHOST} --plugin ${BIN_DIR}/Quorvane_FM2020.so run ${SOURCE_DIR}/samples/session.qvs
  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "the sample session failed (${rc}): ${err}\n${out}")
endif()
foreach(shown "Element actions: 2 succeeded, 0 failed." "chapter id=\"herbs\" status=\"final\"\n    note\n    title")
  string(FIND "${out}" "${shown}" at)
  if(at LESS 0)
    message(FATAL_ERROR "the sample session does not show \"${shown}\":\n${out}")
  endif()
endforeach()
