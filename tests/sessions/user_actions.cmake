# The user's actions in a session: a malformed XML file is refused with a message and the
# session goes on; opening, inserting, setting an attribute, Save As and closing raise the
# notifications the plug-in asked for; scripted answers are used in order.
file(MAKE_DIRECTORY ${WORK_DIR})
file(WRITE ${WORK_DIR}/broken.xml "<doc><p>unclosed</doc>\n")
file(WRITE ${WORK_DIR}/good.xml "<doc><sec><p>one</p></sec><sec><p>two</p></sec></doc>\n")
file(WRITE ${WORK_DIR}/actions.qvs [=[
try open broken.xml
expect-transcript refused: cannot open
expect-transcript message: Cannot open
expect-no-document broken.xml
open good.xml
expect-transcript F_ApiNotify PostOpenXML (96)
select /doc/sec[2]
insert p
expect-transcript F_ApiNotify PreInsertElement (52)
expect-transcript "p" 
set-attribute id x1
expect-transcript F_ApiNotify PostSetAttrValue (63)
save-as saved.fm native
expect-transcript F_ApiNotify PreFunction (42)
expect-document saved.fm
try select /doc/sec[3]
expect-transcript refused: no element /doc/sec[3]
close
expect-transcript F_ApiNotify PostQuitDoc (40)
open saved.fm hidden
expect-transcript F_ApiNotify PostOpenDoc (2)
quit
note never reached
]=])
execute_process(COMMAND ${QVHOST} --plugin ${BIN_DIR}/Quorvane_FM2019.so --host-version 15.0 --trace --quiet
  run ${WORK_DIR}/actions.qvs RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "the session failed (${rc}): ${err}\n${out}")
endif()
if(NOT EXISTS ${WORK_DIR}/saved.fm)
  message(FATAL_ERROR "Save As wrote nothing")
endif()
