# Esc stops a long query: Match All of an expression whose predicate looks back over every
# earlier element (20,000 of them, work that grows with their square) polls Esc as it goes, and a
# confirmed cancel ends the run with the cancel message instead of a list of matches.
file(REMOVE_RECURSE ${WORK_DIR})
file(MAKE_DIRECTORY ${WORK_DIR})
set(xml "<doc>")
foreach(hundreds RANGE 0 199)
  set(chunk "")
  foreach(i RANGE 1 100)
    string(APPEND chunk "<p n=\"${hundreds}-${i}\"/>")
  endforeach()
  string(APPEND xml "${chunk}")
endforeach()
file(WRITE ${WORK_DIR}/many.xml "${xml}</doc>\n")
file(WRITE ${WORK_DIR}/esc.qvs [=[
open many.xml
command Quorvane_Cmd_Node_Wizard
dialog qv_DialogNodeWizard "type 2 //p[preceding::p/@n = @n]"
esc 3
answer alert yes
dialog qv_DialogNodeWizard "press 50"
expect-transcript The operation was cancelled.
]=])
execute_process(COMMAND ${QVHOST} --plugin ${BIN_DIR}/Quorvane_FM2020.so run ${WORK_DIR}/esc.qvs
  WORKING_DIRECTORY ${WORK_DIR} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err TIMEOUT 60)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "the session failed (${rc}): ${err}\n${out}")
endif()
