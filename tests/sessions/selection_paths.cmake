# The transcript says where the user is: Match First, Match Next, <<, >> and the jump list write
# the path of the element they select. A dialog's opening is one line; its items are printed by
# print dialog, or at the opening with --verbose.
file(REMOVE_RECURSE ${WORK_DIR})
file(MAKE_DIRECTORY ${WORK_DIR})
include(${SOURCE_DIR}/tests/support/sessions.cmake)
set(appdata ${WORK_DIR}/appdata)
qv_settle(${appdata} "STARTUP_LANGUAGE=English\n")
file(WRITE ${WORK_DIR}/a.xml "<doc><sec><p>one</p></sec><sec><p>two</p><p>three</p></sec></doc>\n")
set(script [=[
open a.xml
command Quorvane_Cmd_Node_Wizard
dialog qv_DialogNodeWizard "type 2 //p" "press \"Match First\"" "press \"Match Next\"" "press \"Match Next\""
dialog qv_DialogNodeWizard "press <<" "press <<" "press >>"
answer dialog om_Dialog_DDown "type 2 1" "press OK"
dialog qv_DialogNodeWizard "press 47"
note =printed
print dialog qv_DialogNodeWizard
]=])
qv_run_session(paths ${appdata} "${script}")
qv_expect("${out}" [=[
user: press "Match First"
  selected /doc[1]/sec[1]/p[1]
user: press "Match &Next"
  selected /doc[1]/sec[2]/p[1]
user: press "Match &Next"
  selected /doc[1]/sec[2]/p[2]
user: dialog qv_DialogNodeWizard "press <<" "press <<" "press >>"
user: press "<<"
  selected /doc[1]/sec[2]/p[1]
user: press "<<"
  selected /doc[1]/sec[1]/p[1]
user: press ">>"
  selected /doc[1]/sec[2]/p[1]
]=])
qv_expect("${out}" "dialog \"Jump to index\" dismissed\n  selected /doc[1]/sec[1]/p[1]\n")
qv_expect("${out}" "dialog \"Quorvane Node Wizard\" [qv_DialogNodeWizard] opened\nuser: dialog")
qv_expect("${out}" "dialog \"Jump to index\" [om_Dialog_DDown] opened\nuser: type")
# The items only where asked for: print dialog, or every opening with --verbose.
string(REGEX MATCHALL "\n  48 button \"Match First\"" items "${out}")
list(LENGTH items n)
string(FIND "${out}" "=printed\ndialog \"Quorvane Node Wizard\" [qv_DialogNodeWizard]\n  1 label \"XPath expression\"" printed)
if(NOT n EQUAL 1 OR printed LESS 0)
  message(FATAL_ERROR "the items should be printed once, by print dialog:\n${out}")
endif()
qv_run_session(verbose ${appdata} "${script}" --verbose)
qv_expect("${out}" "dialog \"Jump to index\" [om_Dialog_DDown]\n  1 label \"Jump to index:\"\n  2 text box")
string(REGEX MATCHALL "\n  48 button \"Match First\"" items "${out}")
list(LENGTH items n)
if(NOT n EQUAL 2)
  message(FATAL_ERROR "--verbose should show the Node Wizard's items at its opening:\n${out}")
endif()
