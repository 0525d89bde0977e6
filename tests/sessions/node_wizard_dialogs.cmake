# The Node Wizard and the XPath Quick Finder driven by the scripted user: the menu command opens
# the Node Wizard, LESS and MORE keep the expression, an expression added to the favorites twice
# is refused the second time, Get loads the favorites into the history pop-ups, the action
# pop-ups show and hide the items that go with them, parse-only dims the match and action groups,
# and Manage edits the favorites file in the list editor.
file(MAKE_DIRECTORY ${WORK_DIR})
file(WRITE ${WORK_DIR}/dialogs.qvs [=[
answer alert yes
open ]=] ${SOURCE_DIR} [=[/samples/sample.xml
command Quorvane_Cmd_Node_Wizard
expect-transcript dialog "Quorvane Node Wizard" [qv_DialogNodeWizard]
note fresh
print dialog qv_DialogNodeWizard
dialog qv_DialogNodeWizard "type 2 //para[emph]"
dialog qv_DialogNodeWizard "press 6"
note quick finder
print dialog qv_DialogXPathQuickFinder
dialog qv_DialogXPathQuickFinder "press 16"
dialog qv_DialogXPathQuickFinder "press 16"
expect-transcript This expression is already among the favorites.
dialog qv_DialogXPathQuickFinder "press 17"
expect-transcript The favorite expressions were loaded into the history list.
dialog qv_DialogXPathQuickFinder "press 13"
note retag
dialog qv_DialogNodeWizard "choose 21 \"Retag as\""
dialog qv_DialogNodeWizard "press 22"
expect-transcript Node Wizard action help
print dialog qv_DialogNodeWizard
note conditions and search
dialog qv_DialogNodeWizard "choose 21 \"Assign conditions\""
dialog qv_DialogNodeWizard "choose 31 \"Search and replace string\""
print dialog qv_DialogNodeWizard
note parse only
dialog qv_DialogNodeWizard "check 4"
print dialog qv_DialogNodeWizard
note manage
answer dialog om_DialogStringsListEditor_Wide "press 5" "press 8"
dialog qv_DialogNodeWizard "press 11"
dialog qv_DialogNodeWizard "press 10"
print dialog qv_DialogNodeWizard
dialog qv_DialogNodeWizard "press 54"
]=])
execute_process(COMMAND ${CMAKE_COMMAND} -E env APPDATA=${WORK_DIR}/appdata
  ${QVHOST} --plugin ${BIN_DIR}/Quorvane_FM2020.so run ${WORK_DIR}/dialogs.qvs
  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "the session failed (${rc}): ${err}\n${out}")
endif()
# The printed dialogs, one block per note.
include(${SOURCE_DIR}/tests/support/sessions.cmake)
qv_section(fresh "note: fresh" "note: quick finder")
qv_expect("${fresh}" "44 label \"! 0 of 0\"")
qv_expect("${fresh}" "49 button \"Match &Next\" (greyed)")
qv_expect("${fresh}" "53 button \"Perform Action(s) &On All\" (greyed)")
qv_expect("${fresh}" "14 label \"Z:")
qv_expect_not("${fresh}" "  24 text box")
qv_section(quick "note: quick finder" "note: retag")
qv_expect("${quick}" "2 text box \"\" text \"//para[emph]\"")
qv_section(retag "note: retag" "note: conditions and search")
qv_expect("${retag}" "2 text box \"\" text \"//para[emph]\"")
qv_expect("${retag}" "3 pop-up \"\" [\"Placeholder\", \"//para[emph]\"")
qv_expect("${retag}" "24 text box \"\" text \"{tag}\"")
qv_expect("${retag}" "25 pop-up \"\" [\"Placeholder\", \"chapter\", \"emph\", \"manual\", \"note\", \"para\", \"title\"]")
qv_expect_not("${retag}" "  26 list")
qv_expect("${retag}" "51 button \"&Perform Action(s)\"\n")
qv_section(cond "note: conditions and search" "note: parse only")
qv_expect_not("${cond}" "  24 text box")
qv_expect("${cond}" "26 list")
qv_expect("${cond}" "34 label \"Search string\"")
qv_expect("${cond}" "37 label \"Replace string\"")
qv_section(parse "note: parse only" "note: manage")
qv_expect("${parse}" "48 button \"Parse\"")
qv_expect("${parse}" "50 button \"Match All\" (greyed)")
qv_expect("${parse}" "51 button \"&Perform Action(s)\" (greyed)")
qv_expect("${parse}" "20 text box \"None\" text \"Assign conditions\" (greyed)")
qv_section(manage "note: manage" "user: dialog qv_DialogNodeWizard \"press 54\"")
qv_expect("${manage}" "dialog \"XPath Favorites\" [om_DialogStringsListEditor_Wide]")
qv_expect("${manage}" "3 pop-up \"\" [\"Placeholder\", \"//*\", \"//*[@id]\"]")
