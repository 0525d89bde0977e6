# Perform Action(s) On All from the Node Wizard: a retag of every match (the summary, no error
# report, the match list kept); Esc before the first action (nothing changed, the selection back
# where it was); Delete element, after which the match list is empty; Match First and Match Next.
file(REMOVE_RECURSE ${WORK_DIR})
file(MAKE_DIRECTORY ${WORK_DIR})
file(WRITE ${WORK_DIR}/a.xml "<doc><sec><p>one</p><p>two</p></sec><sec><p>three</p><note>n</note></sec></doc>\n")
file(WRITE ${WORK_DIR}/perform.qvs [=[
answer alert yes
open a.xml
command Quorvane_Cmd_Node_Wizard
dialog qv_DialogNodeWizard "type 2 //p"
dialog qv_DialogNodeWizard "choose 21 \"Retag as\""
dialog qv_DialogNodeWizard "type 24 note"
answer alert yes
dialog qv_DialogNodeWizard "press 53"
expect-transcript Element actions: 3 succeeded, 0 failed.
expect-no-document "Quorvane Error Report"
print tree
note =retag
print dialog qv_DialogNodeWizard

# Esc before the first action, confirmed: nothing changes and the selection is where it was
# (an insertion goes into the note selected before).
select /doc/sec[2]/note[2]
dialog qv_DialogNodeWizard "type 2 //note"
dialog qv_DialogNodeWizard "choose 21 \"Delete element\""
answer alert yes yes
esc 1
dialog qv_DialogNodeWizard "press 53"
expect-transcript The operation was cancelled.
insert p
print tree

# Delete breaks the match list: it is empty afterwards.
answer alert yes
dialog qv_DialogNodeWizard "press 53"
expect-transcript Element actions: 4 succeeded, 0 failed.
print tree
note =deleted
print dialog qv_DialogNodeWizard

# Match First, then Match Next until there is no more.
dialog qv_DialogNodeWizard "type 2 //sec"
dialog qv_DialogNodeWizard "press 48"
dialog qv_DialogNodeWizard "press 49"
dialog qv_DialogNodeWizard "press 49"
expect-transcript No (more) matches were found.
note =matched
print dialog qv_DialogNodeWizard
]=])
execute_process(COMMAND ${CMAKE_COMMAND} -E env APPDATA=${WORK_DIR}/appdata
  ${QVHOST} --plugin ${BIN_DIR}/Quorvane_FM2020.so run ${WORK_DIR}/perform.qvs
  WORKING_DIRECTORY ${WORK_DIR} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "the session failed (${rc}): ${err}\n${out}")
endif()
# The document after each run, in order.
set(retagged "doc\n  sec\n    note\n      \"one\"\n    note\n      \"two\"\n  sec\n    note\n      \"three\"\n    note\n      \"n\"\n")
set(cancelled "doc\n  sec\n    note\n      \"one\"\n    note\n      \"two\"\n  sec\n    note\n      \"three\"\n    note\n      \"n\"\n      p\n")
set(deleted "doc\n  sec\n  sec\n")
set(rest "${out}")
foreach(tree retagged cancelled deleted)
  string(FIND "${rest}" "${${tree}}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "the document ${tree}:\n${out}")
  endif()
  string(LENGTH "${${tree}}" n)
  math(EXPR at "${at} + ${n}")
  string(SUBSTRING "${rest}" ${at} -1 rest)
endforeach()
# The match counter: kept after the retag, empty after the delete, two after Match First and Next.
string(REGEX MATCH "=retag\n.*" after_retag "${out}")
string(REGEX MATCH "44 label \"[^\"]*\"" counter "${after_retag}")
if(NOT counter STREQUAL "44 label \"1 of 3\"")
  message(FATAL_ERROR "after the retag: ${counter}\n${out}")
endif()
string(REGEX MATCH "=deleted\n.*" after_delete "${out}")
string(REGEX MATCH "44 label \"[^\"]*\"" counter "${after_delete}")
string(REGEX MATCH "46 button \">>\"[^\n]*" next "${after_delete}")
if(counter MATCHES "of [1-9]" OR NOT next MATCHES "greyed")
  message(FATAL_ERROR "after the delete: ${counter}, ${next}\n${out}")
endif()
string(REGEX MATCH "=matched\n.*" after_match "${out}")
string(REGEX MATCH "44 label \"[^\"]*\"" counter "${after_match}")
if(NOT counter STREQUAL "44 label \"2 of 2\"")
  message(FATAL_ERROR "after Match First and Next: ${counter}\n${out}")
endif()
