# The Node Wizard's and the Quick Finder's runs driven by the scripted user: a relative
# expression without a selected element is refused with its message; Match All, then >> and <<
# move through the matches with the counter and the navigation buttons following; the Quick
# Finder runs and navigates its own way; actions chosen from the pop-ups (an element action and
# an attribute action with its names and values edited in the list editor) are performed on all
# matches, the failures go to the error report and the tree shows the result.
file(MAKE_DIRECTORY ${WORK_DIR})
file(COPY ${SOURCE_DIR}/samples/sample.xml DESTINATION ${WORK_DIR})
file(WRITE ${WORK_DIR}/runs.qvs [=[
answer alert yes
open sample.xml
command Quorvane_Cmd_Node_Wizard
dialog qv_DialogNodeWizard "type 2 para"
dialog qv_DialogNodeWizard "press 50"
expect-transcript This expression is relative: select an element to start from, or begin the expression with "/".
dialog qv_DialogNodeWizard "type 2 //para"
dialog qv_DialogNodeWizard "press 50"
expect-transcript 4 matches were found.
note =first
print dialog qv_DialogNodeWizard
dialog qv_DialogNodeWizard "press 46"
dialog qv_DialogNodeWizard "press 46"
note =third
print dialog qv_DialogNodeWizard
dialog qv_DialogNodeWizard "press 46"
note =last
print dialog qv_DialogNodeWizard
dialog qv_DialogNodeWizard "press 6"
dialog qv_DialogXPathQuickFinder "type 2 //chapter"
dialog qv_DialogXPathQuickFinder "press 6"
expect-transcript 2 matches were found.
dialog qv_DialogXPathQuickFinder "press 11"
note =finder
print dialog qv_DialogXPathQuickFinder
dialog qv_DialogXPathQuickFinder "press 13"
dialog qv_DialogNodeWizard "choose 21 \"Insert first child\""
dialog qv_DialogNodeWizard "choose 25 \"note\""
dialog qv_DialogNodeWizard "choose 31 \"Replace values with spec\""
answer dialog om_DialogStringsListEditor "press 3" "press 3" "press 8"
answer dialog om_Dialog_DDown "choose 3 \"status\"" "press 4"
answer dialog om_Dialog_DDown "type 2 revision" "press 4"
dialog qv_DialogNodeWizard "press 36"
answer dialog om_DialogStringsListEditor "press 3" "press 8"
answer dialog om_Dialog_DDown "type 2 final" "press 4"
dialog qv_DialogNodeWizard "press 39"
note =actions
print dialog qv_DialogNodeWizard
answer alert yes
dialog qv_DialogNodeWizard "press 53"
expect-transcript Element actions: 2 succeeded, 0 failed.
expect-transcript Attribute actions: 0 succeeded, 2 failed.
expect-document "Quorvane Error Report"
note =tree
print tree
note =end
]=])
execute_process(COMMAND ${CMAKE_COMMAND} -E env APPDATA=${WORK_DIR}/appdata
  ${QVHOST} --plugin ${BIN_DIR}/Quorvane_FM2020.so run ${WORK_DIR}/runs.qvs
  WORKING_DIRECTORY ${WORK_DIR} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "the session failed (${rc}): ${err}\n${out}")
endif()
# Each section runs from its note to the next one.
function(expect_in name)
  string(FIND "${out}" "note: =${name}" a)
  if(a LESS 0)
    message(FATAL_ERROR "no note =${name} in:\n${out}")
  endif()
  string(SUBSTRING "${out}" ${a} -1 rest)
  string(SUBSTRING "${rest}" 5 -1 after)
  string(FIND "${after}" "note: =" b)
  if(b GREATER -1)
    math(EXPR b "${b} + 5")
    string(SUBSTRING "${rest}" 0 ${b} rest)
  endif()
  foreach(what ${ARGN})
    string(FIND "${rest}" "${what}" at)
    if(at LESS 0)
      message(FATAL_ERROR "section ${name} lacks \"${what}\":\n${rest}")
    endif()
  endforeach()
endfunction()
expect_in(first "44 label \"1 of 4\"" "45 button \"<<\" (greyed)" "46 button \">>\"\n" "47 button \". . .\"\n"
          "49 button \"Match &Next\" (greyed)")
expect_in(third "44 label \"3 of 4\"" "45 button \"<<\"\n" "46 button \">>\"\n")
expect_in(last "44 label \"4 of 4\"" "45 button \"<<\"\n" "46 button \">>\" (greyed)")
expect_in(finder "2 text box \"\" text \"//chapter\"" "9 label \"2 of 2\"" "10 button \"<<\"\n"
          "11 button \">>\" (greyed)")
expect_in(actions "20 text box \"None\" text \"Insert first child\"" "24 text box \"\" text \"note\""
          "35 list \"\" [\"status\", \"revision\"]" "38 list \"\" [\"final\"]" "53 button \"Perform Action(s) &On All\"\n")
expect_in(tree "chapter id=\"grasses\" status=\"final\"\n    note\n    title"
          "chapter id=\"herbs\" status=\"final\"\n    note\n    title")
