# Scripts started by the host's events: after an open every due script runs, in the scripts
# document's order (a Yes always, an IfXPathMatch when it matches in the opened document; an
# inactive script, a trigger of another event and an expression that does not compile never,
# the last without writing an XPath error report); a display refresh runs its own triggers; a
# launch shortcut bound to a script the scripts document lacks says so.
file(REMOVE_RECURSE ${WORK_DIR})
file(MAKE_DIRECTORY ${WORK_DIR})
include(${SOURCE_DIR}/tests/support/sessions.cmake)
# Each document uses every tag the scripts retag to, so that each has a definition.
set(tags "<tags><q/><r/><x/><flagged/><refreshed/><broken/></tags>")
file(WRITE ${WORK_DIR}/plain.xml "<doc><p>one</p><p>two</p>${tags}</doc>\n")
file(WRITE ${WORK_DIR}/flagged.xml "<doc><p>three</p><flag>!</flag>${tags}</doc>\n")
function(script name trigger events)
  set(active Yes)
  if(name STREQUAL "Switched off")
    set(active No)
  endif()
  set(s "${s}<NodeWizardScript><NWScriptName>${name}</NWScriptName><NWScriptSettings><GeneralSettings><ScriptIsActive><${active}/></ScriptIsActive></GeneralSettings>${trigger}</NWScriptSettings>${events}</NodeWizardScript>\n" PARENT_SCOPE)
endfunction()
function(retag from to)
  set(r "<NWScriptEvent><XPathExpression>//${from}</XPathExpression><ElementActions><Retag_as><Static_value>${to}</Static_value></Retag_as></ElementActions></NWScriptEvent>" PARENT_SCOPE)
endfunction()
set(s "")
retag(p x)
script("Switched off" "<OnDocumentOpen><Yes/></OnDocumentOpen>" "${r}")
retag(p q)
script("Tag first" "<OnDocumentOpen><Yes/></OnDocumentOpen>" "${r}")
retag(q r)
script("Tag second" "<OnDocumentOpen><Yes/></OnDocumentOpen>" "${r}")
retag(flag flagged)
script("Flagged" "<OnDocumentOpen><IfXPathMatch>//flag</IfXPathMatch></OnDocumentOpen>" "${r}")
retag(flagged refreshed)
script("On refresh" "<OnDisplayRefresh><IfXPathMatch>//flagged</IfXPathMatch></OnDisplayRefresh>" "${r}")
retag(doc broken)
script("Bad match" "<OnDocumentOpen><IfXPathMatch>//p[</IfXPathMatch></OnDocumentOpen>" "${r}")
file(WRITE ${WORK_DIR}/scripts.xml "<NodeWizardScripts Version1=\"\">\n${s}</NodeWizardScripts>\n")

string(REPLACE "/" "\\" win_work "Z:${WORK_DIR}")
qv_settle(${WORK_DIR}/appdata "NW_ALLOW_SCRIPT_AUTORUNNING=Yes\nPROMPT_NW_SCRIPT_GENERAL_MSGS=Never\nNW_SCRIPT_LAUNCH_SHORTCUTS\nMissing one~~~~^m\n\n")
qv_run_session(triggers ${WORK_DIR}/appdata "call-client Quorvane SetAppParm---EC_NWScriptsDoc---${win_work}\\scripts.xml
open plain.xml
note plain
print tree plain.xml
open flagged.xml
note flagged
print tree flagged.xml
function 920
note refreshed
print tree flagged.xml
shortcut ^m
print documents
")
qv_section(plain "note: plain" "user: open flagged.xml")
qv_section(flagged "note: flagged" "user: function 920")
qv_section(refreshed "note: refreshed" "user: shortcut")
# Both Yes scripts ran, in order: every p became q, then r.
qv_expect("${plain}" "note: plain\ndoc\n  r\n    \"one\"\n  r\n    \"two\"")
qv_expect("${flagged}" "note: flagged\ndoc\n  r\n    \"three\"\n  flagged\n    \"!\"")
qv_expect("${refreshed}" "note: refreshed\ndoc\n  r\n    \"three\"\n  refreshed\n    \"!\"")
qv_expect("${out}" "The \"Missing one\" script could not be found in the active scripts document:")
qv_expect_not("${out}" "Error Report")
