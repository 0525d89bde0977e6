# Dialog lines do what they say or fail: each quoted word after the resource is one action, done
# in order; an item goes by its number or by its label as the user reads it ("&", case and a
# closing colon ignored; a text box or pop-up by the label before it, the verb choosing among
# the items one label names). A line that cannot be read, a label naming no item or several, and
# a scripted modal action that cannot be done fail with the script line.
file(REMOVE_RECURSE ${WORK_DIR})
file(MAKE_DIRECTORY ${WORK_DIR})
include(${SOURCE_DIR}/tests/support/sessions.cmake)
set(appdata ${WORK_DIR}/appdata)
qv_settle(${appdata} "STARTUP_LANGUAGE=English\n")
file(WRITE ${WORK_DIR}/a.xml "<doc><sec><p>one</p><p>two</p></sec><sec><p>three</p><note>n</note></sec></doc>\n")
set(wizard "open a.xml\ncommand Quorvane_Cmd_Node_Wizard\n")

# Labels and numbers mixed on one line; every action is done, in order.
set(script [=[
dialog qv_DialogNodeWizard "type \"XPath expression\" //p" "choose \"Element action\" \"retag AS\"" "type 24 note" "check \"process/query all structured flows\""
print dialog qv_DialogNodeWizard
answer alert ok yes
dialog qv_DialogNodeWizard "press \"match all\"" "press \"Perform Action(s) On All\""
print tree
]=])
qv_run_session(labels ${appdata} "${wizard}${script}" --quiet)
foreach(shown "2 text box \"\" text \"//p\"" "20 text box \"None\" text \"Retag as\"" "] selected 2"
              "40 check box \"Process/query all structured flows\" state 1"
              "doc\n  sec\n    note\n      \"one\"\n    note\n      \"two\"\n  sec\n    note\n      \"three\"")
  qv_expect("${out}" "${shown}")
endforeach()

# Lines that cannot be read fail before anything is done.
foreach(case
    "joined|dialog qv_DialogNodeWizard type 2 //para|:3: \"type\" needs an item number or label"
    "verb|dialog qv_DialogNodeWizard \"type 2 //p\" \"pres 50\"|:3: unknown dialog action \"pres 50\""
    "answer|answer dialog - \"press\"|:3: \"press\" needs an item number or label"
    "quote|dialog qv_DialogNodeWizard \"press \\\"Match\"|:3: a quoted label is not closed"
    "none|dialog qv_DialogNodeWizard \"press Match\"|:3: no button is labelled \"Match\"; the dialog's button items: 6 button"
    "kind|dialog qv_DialogNodeWizard \"check \\\"Match All\\\"\"|:3: no check box is labelled \"Match All\"; items labelled so: 50 button \"Match All\""
    "several|dialog qv_DialogNodeWizard \"press ?\"|:3: several items are labelled \"?\": 22 button \"?\", 32 button \"?\"")
  string(REPLACE "|" ";" case "${case}")
  list(GET case 0 name)
  list(GET case 1 line)
  list(GET case 2 message)
  qv_run_failing_session(${name} ${appdata} "${wizard}${line}\n" "${name}.qvs${message}" --quiet)
  qv_expect_not("${out}" "user: type")
endforeach()

# The jump list's scripted answer by label; one that names no item fails the line that opened it.
set(script [=[
dialog qv_DialogNodeWizard "type 2 //p" "press \"Match All\""
answer dialog om_Dialog_DDown "type \"jump to index\" 3" "press ok"
dialog qv_DialogNodeWizard "press 47"
]=])
qv_run_session(jump ${appdata} "${wizard}${script}")
qv_expect("${out}" "user: type \"3\" into item 2\nuser: press \"OK\"")
set(script [=[
dialog qv_DialogNodeWizard "type 2 //p" "press \"Match All\""
answer dialog om_Dialog_DDown "choose jump 1"
dialog qv_DialogNodeWizard "press 47"
]=])
qv_run_failing_session(badjump ${appdata} "${wizard}${script}"
  "badjump.qvs:5: the dialog answer of ${WORK_DIR}/badjump.qvs:4: cannot choose jump 1 in \"Jump to index\": no list or pop-up is labelled \"jump\"; the dialog's list or pop-up items: 3 pop-up \"Jump to index:\"")
