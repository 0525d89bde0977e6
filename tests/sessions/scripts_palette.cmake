# The Node Wizard Scripts palette on the shipped scripts document: each sample script chosen in
# the list and run on the sample document, its effect shown by the document's tree; Check finds
# nothing wrong with a sample script. Its paths are shown as the host writes them.
file(REMOVE_RECURSE ${WORK_DIR})
file(MAKE_DIRECTORY ${WORK_DIR})
file(COPY ${SOURCE_DIR}/samples/scripts/plants.xml DESTINATION ${WORK_DIR})
file(WRITE ${WORK_DIR}/palette.qvs [=[
answer alert yes
open plants.xml
command Quorvane_Cmd_Node_Wizard_Scripts
expect-transcript [qv_DialogNWScripts]
dialog qv_DialogNWScripts "choose 6 1"
print dialog qv_DialogNWScripts
note number chapters
answer alert yes
dialog qv_DialogNWScripts "choose 9 0"
dialog qv_DialogNWScripts "press 16"
expect-transcript Element actions: 0 succeeded, 0 failed.
note notes become tips
answer alert yes
dialog qv_DialogNWScripts "choose 9 1"
dialog qv_DialogNWScripts "press 16"
note collect titles
answer alert yes
dialog qv_DialogNWScripts "choose 9 2"
dialog qv_DialogNWScripts "press 16"
call-client Quorvane GetScriptParmByte---titles
note finish reviews
answer alert yes
dialog qv_DialogNWScripts "choose 9 3"
dialog qv_DialogNWScripts "press 16"
note check
dialog qv_DialogNWScripts "choose 9 0"
dialog qv_DialogNWScripts "press 17"
expect-transcript The script check found no errors.
note tree
print tree plants.xml
dialog qv_DialogNWScripts "press 22"
]=])
execute_process(COMMAND ${CMAKE_COMMAND} -E env APPDATA=${WORK_DIR}/appdata
  ${QVHOST} --plugin ${BIN_DIR}/Quorvane_FM2020.so run ${WORK_DIR}/palette.qvs
  WORKING_DIRECTORY ${WORK_DIR}
  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "the session failed (${rc}): ${err}\n${out}")
endif()
string(FIND "${out}" "note: tree" at)
string(SUBSTRING "${out}" ${at} -1 tree)
foreach(expected
    "chapter id=\"herbs\" status=\"final\" number=\"1\""
    "chapter id=\"grasses\" status=\"draft\" number=\"2\""
    "chapter id=\"sedges\" status=\"final\" number=\"3\""
    "tip\n +\"Pick none of them.\""
    "tip\n +\"Sedges have edges.\""
    "answered 184 ")
  if(NOT out MATCHES "${expected}")
    message(FATAL_ERROR "the session lacks ${expected}:\n${out}")
  endif()
endforeach()
if(tree MATCHES "para\n +\"Pick none")
  message(FATAL_ERROR "a note's paragraph was not retagged:\n${out}")
endif()
# The palette shows paths as the host writes them everywhere, with backslashes.
string(REPLACE "/" "\\" win_work "Z:${WORK_DIR}")
string(FIND "${out}" "5 text box \"\" text \"${win_work}\\plants.xml\"" shown)
if(shown LESS 0 OR out MATCHES "Z:/")
  message(FATAL_ERROR "the palette should show ${win_work}\\plants.xml:\n${out}")
endif()
