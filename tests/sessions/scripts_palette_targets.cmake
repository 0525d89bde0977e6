# The scripts palette's targets and lists: with nothing open a run asks for a target; only
# active scripts are listed; a cancelled Browse... keeps the scripts document; with the
# default-target box on, the active document becomes the target on the next refresh, but never
# the scripts document itself, which, chosen as the target by hand, is run on only after a Yes.
file(REMOVE_RECURSE ${WORK_DIR})
file(MAKE_DIRECTORY ${WORK_DIR})
include(${SOURCE_DIR}/tests/support/sessions.cmake)
file(WRITE ${WORK_DIR}/a.xml "<doc><p>one</p></doc>\n")
file(WRITE ${WORK_DIR}/b.xml "<doc><p>two</p></doc>\n")
set(event "<NWScriptEvent><EventName>Retag</EventName><XPathExpression>//p</XPathExpression><ElementActions><Retag_as><Static_value>q</Static_value></Retag_as></ElementActions></NWScriptEvent>")
file(WRITE ${WORK_DIR}/scripts.xml "<NodeWizardScripts Version1=\"\">
<NodeWizardScript><NWScriptName>Shown</NWScriptName><NWScriptSettings><GeneralSettings><ScriptIsActive><Yes/></ScriptIsActive></GeneralSettings></NWScriptSettings>${event}</NodeWizardScript>
<NodeWizardScript><NWScriptName>Switched off</NWScriptName><NWScriptSettings><GeneralSettings><ScriptIsActive><No/></ScriptIsActive></GeneralSettings></NWScriptSettings>${event}</NodeWizardScript>
<NodeWizardScript><NWScriptName>Unflagged</NWScriptName><NWScriptSettings><GeneralSettings/></NWScriptSettings>${event}</NodeWizardScript>
</NodeWizardScripts>
")
qv_settle(${WORK_DIR}/appdata "PROMPT_NW_SCRIPT_GENERAL_MSGS=Yes\nNW_DISPLAY_FULL_FILE_PATHS=No\n")
string(REPLACE "/" "\\" win_work "Z:${WORK_DIR}")
qv_run_session(targets ${WORK_DIR}/appdata "call-client Quorvane SetAppParm---EC_NWScriptsDoc---${win_work}\\scripts.xml
command Quorvane_Cmd_Node_Wizard_Scripts
dialog qv_DialogNWScripts \"press 16\"
expect-transcript Select a document or book to run the script on.
open a.xml
open b.xml
note listed
print dialog qv_DialogNWScripts
note browse
answer choose --cancel
dialog qv_DialogNWScripts \"choose 3 Browse...\"
print dialog qv_DialogNWScripts
note default target
dialog qv_DialogNWScripts \"check 7 1\"
activate b.xml
dialog qv_DialogNWScripts refresh
print dialog qv_DialogNWScripts
note scripts document
open scripts.xml
print documents
dialog qv_DialogNWScripts refresh
print dialog qv_DialogNWScripts
dialog qv_DialogNWScripts \"check 7 0\"
dialog qv_DialogNWScripts \"choose 6 scripts.xml\"
answer alert no \"The scripts document itself is the target\"
dialog qv_DialogNWScripts \"press 16\"
note end
dialog qv_DialogNWScripts \"press 22\"
print tree scripts.xml
")
qv_section(listed "note: listed" "note: browse")
qv_section(browse "note: browse" "note: default target")
qv_section(default "note: default target" "note: scripts document")
qv_section(scripts "note: scripts document" "note: end")
# Only the active script is listed.
qv_expect("${listed}" "9 list \"\" [\"Shown\"] selected 0")
# The cancelled chooser keeps the scripts document.
qv_expect("${browse}" "2 text box \"\" text \"scripts.xml\"")
qv_expect("${browse}" "5 text box \"\" text \"a.xml\"")
# The activated document is the target, but the scripts document never is by itself.
qv_expect("${default}" "5 text box \"\" text \"b.xml\"")
qv_expect("${scripts}" "5 text box \"\" text \"b.xml\"")
qv_expect("${scripts}" "The scripts document itself is the target of this run.")
qv_expect_not("${scripts}" "Run the script \"Shown\"")
# Refused: the scripts document is unchanged.
qv_expect("${out}" "NodeWizardScripts")
qv_expect_not("${out}" "\n    q\n")
