# Flag fields of other clients' calls read as the plug-in reads every flag: "True" and "Yes" are
# on, "False" and "No" off. TransformFile's report-errors flag decides whether the faulty
# stylesheet's errors go to the error report; RunNodeWizardScript's interactive flag whether a
# script that fails its check says so.
file(REMOVE_RECURSE ${WORK_DIR})
file(MAKE_DIRECTORY ${WORK_DIR})
file(COPY ${SOURCE_DIR}/samples/transform/faulty_stylesheet.fm ${SOURCE_DIR}/samples/scripts/plants.xml
     DESTINATION ${WORK_DIR})
file(WRITE ${WORK_DIR}/tests.xml [=[<NodeWizardScripts Version1="">
<NodeWizardScript><NWScriptName>Broken</NWScriptName><NWScriptSettings><GeneralSettings><ScriptIsActive><Yes/></ScriptIsActive>
  </GeneralSettings></NWScriptSettings>
  <NWScriptEvent><XPathExpression>//chapter[</XPathExpression></NWScriptEvent></NodeWizardScript>
</NodeWizardScripts>
]=])
string(REPLACE "/" "\\" win_work "Z:${WORK_DIR}")

include(${SOURCE_DIR}/tests/support/sessions.cmake)
qv_settle(${WORK_DIR}/appdata "PROMPT_NW_SCRIPT_GENERAL_MSGS=Never\n")
qv_run_session(flags ${WORK_DIR}/appdata "open faulty_stylesheet.fm
call-client Quorvane TransformFile---${win_work}\\faulty_stylesheet.fm---NULL---False
expect-no-document \"Quorvane Error Report\"
call-client Quorvane TransformFile---${win_work}\\faulty_stylesheet.fm---NULL---True
expect-document \"Quorvane Error Report\"
open plants.xml
call-client Quorvane SetAppParm---EC_NWScriptsDoc---${WORK_DIR}/tests.xml
call-client Quorvane RunNodeWizardScript---Broken---0---plants.xml---No
expect-no-transcript The script check found errors.
call-client Quorvane RunNodeWizardScript---Broken---0---plants.xml---Yes
expect-transcript The script check found errors.
")
