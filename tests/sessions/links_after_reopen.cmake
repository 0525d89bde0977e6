# An error report's link names its element by file and unique id. A plain XML file keeps no
# unique ids, so once it is closed and opened again its elements are new ones and the link says
# it is stale instead of selecting another element; a file of the host's own format keeps its ids
# across save and reopen, and its links keep working.
file(REMOVE_RECURSE ${WORK_DIR})
file(MAKE_DIRECTORY ${WORK_DIR})
file(WRITE ${WORK_DIR}/b.xml "<doc><p>1</p><p>2</p></doc>\n")
file(WRITE ${WORK_DIR}/links.qvs [=[
open b.xml
command Quorvane_Cmd_Node_Wizard
dialog qv_DialogNodeWizard "type 2 //p"
dialog qv_DialogNodeWizard "choose 21 \"Retag as\""
dialog qv_DialogNodeWizard "type 24 nosuchtag"
answer alert yes
dialog qv_DialogNodeWizard "press 53"
expect-document "Quorvane Error Report"
close b.xml
open b.xml
activate "Quorvane Error Report"
follow-link 1
expect-transcript link: stale, no element with unique id
expect-no-transcript link: selected
activate b.xml
save-as b.fm native
answer alert yes
dialog qv_DialogNodeWizard "press 53"
close b.fm
open b.fm
activate "Quorvane Error Report"
follow-link 3
expect-transcript link: selected <p> in b.fm
]=])
execute_process(COMMAND ${QVHOST} --plugin ${BIN_DIR}/Quorvane_FM2020.so run ${WORK_DIR}/links.qvs
  WORKING_DIRECTORY ${WORK_DIR} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "the session failed (${rc}): ${err}\n${out}")
endif()
string(REGEX MATCHALL "openObjectId [^]\n]*b\\.fm:5 [0-9]+" native "${out}")
if(native STREQUAL "")
  message(FATAL_ERROR "the second batch links to b.fm:\n${out}")
endif()
