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
function(section name from to)
  string(FIND "${out}" "${from}" a)
  string(FIND "${out}" "${to}" b)
  if(a LESS 0 OR b LESS a)
    message(FATAL_ERROR "no block ${from} .. ${to} in:\n${out}")
  endif()
  math(EXPR len "${b} - ${a}")
  string(SUBSTRING "${out}" ${a} ${len} text)
  set(${name} "${text}" PARENT_SCOPE)
endfunction()
function(expect text what)
  string(FIND "${text}" "${what}" at)
  if(at LESS 0)
    message(FATAL_ERROR "missing \"${what}\" in:\n${text}")
  endif()
endfunction()
function(expect_not text what)
  string(FIND "${text}" "${what}" at)
  if(NOT at LESS 0)
    message(FATAL_ERROR "unexpected \"${what}\" in:\n${text}")
  endif()
endfunction()
section(fresh "note: fresh" "note: quick finder")
expect("${fresh}" "44 label \"! 0 of 0\"")
expect("${fresh}" "49 button \"Match &Next\" (greyed)")
expect("${fresh}" "53 button \"Perform Action(s) &On All\" (greyed)")
expect("${fresh}" "14 label \"Z:")
expect_not("${fresh}" "  24 text box")
section(quick "note: quick finder" "note: retag")
expect("${quick}" "2 text box \"\" text \"//para[emph]\"")
section(retag "note: retag" "note: conditions and search")
expect("${retag}" "2 text box \"\" text \"//para[emph]\"")
expect("${retag}" "3 pop-up \"\" [\"Placeholder\", \"//para[emph]\"")
expect("${retag}" "24 text box \"\" text \"{tag}\"")
expect("${retag}" "25 pop-up \"\" [\"Placeholder\", \"chapter\", \"emph\", \"manual\", \"note\", \"para\", \"title\"]")
expect_not("${retag}" "  26 list")
expect("${retag}" "51 button \"&Perform Action(s)\"\n")
section(cond "note: conditions and search" "note: parse only")
expect_not("${cond}" "  24 text box")
expect("${cond}" "26 list")
expect("${cond}" "34 label \"Search string\"")
expect("${cond}" "37 label \"Replace string\"")
section(parse "note: parse only" "note: manage")
expect("${parse}" "48 button \"Parse\"")
expect("${parse}" "50 button \"Match All\" (greyed)")
expect("${parse}" "51 button \"&Perform Action(s)\" (greyed)")
expect("${parse}" "20 text box \"None\" text \"Assign conditions\" (greyed)")
section(manage "note: manage" "user: dialog qv_DialogNodeWizard \"press 54\"")
expect("${manage}" "dialog \"XPath Favorites\" [om_DialogStringsListEditor_Wide]")
expect("${manage}" "3 pop-up \"\" [\"Placeholder\", \"//*\", \"//*[@id]\"]")
