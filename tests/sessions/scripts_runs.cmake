# Scripts started without the palette: a script whose trigger matches runs after a document opens
# when auto-running is allowed (and not otherwise); a launch command runs its script from its
# shortcut; another client sets the scripts document and a parameter, runs a script and reads a
# parameter back byte by byte; a script that fails its check is refused with the report's entries;
# Esc in the second component of a book run stops the run there (the tenth Esc poll of that
# run is the first one inside the second component).
file(REMOVE_RECURSE ${WORK_DIR})
file(MAKE_DIRECTORY ${WORK_DIR})
file(COPY ${SOURCE_DIR}/samples/scripts/plants.xml DESTINATION ${WORK_DIR})
file(COPY ${SOURCE_DIR}/samples/scripts/plants.xml DESTINATION ${WORK_DIR}/off)
file(WRITE ${WORK_DIR}/c1.xml "<doc><p>one</p><p>two</p><q>x</q></doc>\n")
file(WRITE ${WORK_DIR}/c2.xml "<doc><p>three</p><q>y</q></doc>\n")
file(WRITE ${WORK_DIR}/plants.book [=[<qvbook version="1" root="Book">
  <component type="512" tag="Chapter" path="c1.xml"/>
  <component type="512" tag="Chapter" path="c2.xml"/>
</qvbook>
]=])
file(WRITE ${WORK_DIR}/tests.xml [=[<NodeWizardScripts Version1="">
<NodeWizardScript><NWScriptName>Label chapters</NWScriptName><NWScriptSettings><GeneralSettings><ScriptIsActive><Yes/></ScriptIsActive>
  </GeneralSettings></NWScriptSettings>
  <NWScriptEvent><XPathExpression>//chapter</XPathExpression><AttributeActions><Replace_values_with_spec>
  <Attribute><Static_value>number</Static_value></Attribute><Value><Parameter_value>label</Parameter_value></Value>
  </Replace_values_with_spec></AttributeActions>
  <StringOperations><Str_op_reverse><Arg1>$label</Arg1><Result>label</Result></Str_op_reverse></StringOperations></NWScriptEvent></NodeWizardScript>
<NodeWizardScript><NWScriptName>Broken</NWScriptName><NWScriptSettings><GeneralSettings><ScriptIsActive><Yes/></ScriptIsActive>
  </GeneralSettings></NWScriptSettings>
  <NWScriptEvent><XPathExpression>//chapter[</XPathExpression></NWScriptEvent></NodeWizardScript>
<NodeWizardScript><NWScriptName>Book retag</NWScriptName><NWScriptSettings><GeneralSettings><ScriptIsActive><Yes/></ScriptIsActive>
  <AllowScriptToOpenFiles><Yes/></AllowScriptToOpenFiles><BookNavigationMode><Classic/></BookNavigationMode></GeneralSettings></NWScriptSettings>
  <NWScriptEvent><XPathExpression>//p</XPathExpression><ElementActions><Retag_as><Static_value>q</Static_value></Retag_as></ElementActions></NWScriptEvent></NodeWizardScript>
</NodeWizardScripts>
]=])

include(${SOURCE_DIR}/tests/support/sessions.cmake)
function(settle appdata preferences)
  qv_settle(${appdata} "${preferences}")
endfunction()
function(run_session name appdata script)
  qv_run_session(${name} ${appdata} "${script}")
  set(out "${out}" PARENT_SCOPE)
endfunction()
# The text must stand in the transcript after the first occurrence of the anchor.
function(expect_after anchor text)
  string(FIND "${out}" "${anchor}" a)
  if(a LESS 0)
    message(FATAL_ERROR "missing ${anchor} in:\n${out}")
  endif()
  string(SUBSTRING "${out}" ${a} -1 rest)
  string(FIND "${rest}" "${text}" b)
  if(b LESS 0)
    message(FATAL_ERROR "missing ${text} after ${anchor} in:\n${out}")
  endif()
endfunction()

settle(${WORK_DIR}/on "NW_ALLOW_SCRIPT_AUTORUNNING=Yes\nPROMPT_NW_SCRIPT_GENERAL_MSGS=Never\nNW_SCRIPT_LAUNCH_SHORTCUTS\nFinish reviews~~~~^r\n\n")
run_session(on ${WORK_DIR}/on "open plants.xml
note after open
print tree plants.xml
shortcut ^r
note after the shortcut
print tree plants.xml
call-client Quorvane SetAppParm---EC_NWScriptsDoc---${WORK_DIR}/tests.xml
call-client Quorvane SetScriptParm---label---seen
call-client Quorvane \"RunNodeWizardScript---Label chapters---0---plants.xml---0\"
call-client Quorvane GetScriptParmByte---label
call-client Quorvane GetScriptParmByte---label
call-client Quorvane GetScriptParmByte---label
call-client Quorvane GetScriptParmByte---label
call-client Quorvane GetScriptParmByte---label
note after the client's run
print tree plants.xml
call-client Quorvane RunNodeWizardScript---Broken---0---plants.xml---1
expect-transcript The script check found errors. See the error report.
expect-transcript The script was not run to its end.
print tree \"Quorvane Error Report\"
open plants.book
esc 10
answer alert yes
call-client Quorvane \"RunNodeWizardScript---Book retag---0---plants.book---1\"
expect-transcript The script run was cancelled.
note after the book run
print tree c1.xml
print tree c2.xml
")
expect_after("note: after open" "manual checked=\"has drafts\"")
expect_after("note: after the shortcut" "chapter id=\"herbs\" status=\"final\"")
expect_after("SetAppParm---EC_NWScriptsDoc" "answered 0")
expect_after("chapters---0---plants.xml---0" "answered 0")
# $label read back byte by byte after the run reversed it: "nees", then the end.
string(REGEX MATCHALL "answered [0-9]+ \\((byte [0-9]+|the end)\\)" bytes "${out}")
string(REPLACE ";" " " bytes "${bytes}")
string(FIND "${bytes}" "answered 210 (byte 110) answered 201 (byte 101) answered 201 (byte 101) answered 215 (byte 115) answered 100 (the end)" found)
if(found LESS 0)
  message(FATAL_ERROR "the parameter was not read back byte by byte: ${bytes}\n${out}")
endif()
expect_after("note: after the client's run" "chapter id=\"herbs\" status=\"final\" number=\"seen\"")
expect_after("RunNodeWizardScript---Broken" "answered 9")
expect_after("QuorvaneErrorReport" "NodeWizardActionError")
expect_after("retag---0---plants.book---1" "answered 9")
expect_after("note: after the book run" "doc\n  q\n    \"one\"\n  q\n    \"two\"")
expect_after("note: after the book run" "doc\n  p\n    \"three\"")

# Auto-running off: opening the same document runs nothing.
settle(${WORK_DIR}/off/appdata "NW_ALLOW_SCRIPT_AUTORUNNING=No\n")
file(COPY ${WORK_DIR}/plants.xml DESTINATION ${WORK_DIR}/off)
run_session(off ${WORK_DIR}/off/appdata "open off/plants.xml
print tree plants.xml
")
if(out MATCHES "checked=")
  message(FATAL_ERROR "a script ran although auto-running is off:\n${out}")
endif()
