# Error report links that lead somewhere: an action that fails on a flow (which has no unique id)
# links to its document, which the link brings forward; a link of the script check leads into
# the scripts document the check opened invisibly, which comes into view with the element selected.
file(REMOVE_RECURSE ${WORK_DIR})
file(MAKE_DIRECTORY ${WORK_DIR})
file(WRITE ${WORK_DIR}/b.xml "<doc><sec><p>1</p></sec></doc>\n")
file(WRITE ${WORK_DIR}/tests.xml [=[<NodeWizardScripts Version1="">
<NodeWizardScript><NWScriptName>Broken</NWScriptName><NWScriptSettings><GeneralSettings><ScriptIsActive><Yes/></ScriptIsActive>
  </GeneralSettings></NWScriptSettings>
  <NWScriptEvent><XPathExpression>//p[</XPathExpression></NWScriptEvent></NodeWizardScript>
</NodeWizardScripts>
]=])
include(${SOURCE_DIR}/tests/support/sessions.cmake)
qv_settle(${WORK_DIR}/appdata "PROMPT_NW_SCRIPT_GENERAL_MSGS=Never\n")
qv_run_session(links ${WORK_DIR}/appdata "open b.xml
command Quorvane_Cmd_Node_Wizard
dialog qv_DialogNodeWizard \"type 2 flow-any::Main\"
dialog qv_DialogNodeWizard \"choose 21 \\\"Retag as\\\"\"
dialog qv_DialogNodeWizard \"type 24 q\"
answer alert yes
dialog qv_DialogNodeWizard \"press 53\"
activate \"Quorvane Error Report\"
follow-link 1
expect-transcript link: opened b.xml
expect-document b.xml
close \"Quorvane Error Report\"
call-client Quorvane SetAppParm---EC_NWScriptsDoc---${WORK_DIR}/tests.xml
call-client Quorvane RunNodeWizardScript---Broken---0---b.xml---1
activate \"Quorvane Error Report\"
follow-link 1
expect-transcript link: selected <XPathExpression> in tests.xml
note after the link
print documents
")
string(FIND "${out}" "note: after the link" at)
string(SUBSTRING "${out}" ${at} -1 after)
string(REGEX MATCH "document \"tests.xml\"[^\n]*" line "${after}")
qv_expect("${line}" " active")
qv_expect_not("${line}" "hidden")
