# Scripted answers go to the question meant: "answer alert yes TEXT" waits for the alert showing
# TEXT, the alerts before it answered by default and written so (an untargeted yes is used up by
# the first message); "answer start" answers the first start's question and is left unused,
# written so, by a settled settings folder, so that one script runs the first time and after.
file(REMOVE_RECURSE ${WORK_DIR})
file(MAKE_DIRECTORY ${WORK_DIR})
include(${SOURCE_DIR}/tests/support/sessions.cmake)
set(appdata ${WORK_DIR}/appdata)
file(WRITE ${WORK_DIR}/a.xml "<doc><sec><p>one</p><p>two</p></sec><note>n</note></doc>\n")
set(script [=[
answer start yes
open a.xml
command Quorvane_Cmd_Node_Wizard
dialog qv_DialogNodeWizard "type 2 //p" "choose 21 \"Retag as\"" "type 24 note"
answer alert yes "will be performed on every match"
dialog qv_DialogNodeWizard "press \"Match All\"" "press \"Perform Action(s) On All\""
expect-transcript Element actions: 2 succeeded, 0 failed.
]=])
# The first run asks the first start's question; the second, in the settled folder, does not.
foreach(run first again)
  qv_run_session(${run} ${appdata} "${script}")
  qv_expect("${out}" "2 matches were found.\n  answer: OK (default; the scripted answer waits for \"will be performed on every match\")")
  qv_expect("${out}" "Continue?\n  answer: Yes (scripted)")
  if(run STREQUAL "first")
    qv_expect("${out}" "initialization of Quorvane?\n  answer: Yes (scripted)")
  else()
    qv_expect("${out}" "the start answer of ${WORK_DIR}/again.qvs:1 is not used")
  endif()
endforeach()

# Without the text the message takes the yes and the confirmation is declined.
string(REPLACE "answer alert yes \"will be performed on every match\"" "answer alert yes" untargeted "${script}")
string(REPLACE "expect-transcript" "expect-no-transcript" untargeted "${untargeted}")
qv_run_session(untargeted ${appdata} "${untargeted}")
qv_expect("${out}" "2 matches were found.\n  answer: OK (scripted)")
qv_expect("${out}" "Continue?\n  answer: No (default)")

# An answer waiting for a text no alert shows is never asked for; a start answer belongs at the top.
qv_run_failing_session(unshown ${appdata} "answer alert yes \"no alert says this\"\nopen a.xml\n"
  "unshown.qvs:1: the scripted alert answer was never asked for")
qv_run_failing_session(late ${appdata} "open a.xml\nanswer start yes\n" "late.qvs:2: answer start belongs before")
