# Scripts that work on tables and talk to the user: a run on a table cell reads its table's
# format into a parameter, adds a row below the cell's row and shows the format in an OK box;
# a run asks for a name and whether to go on: Yes writes the name into the title's id, No ends
# the run as cancelled before anything is written.
file(REMOVE_RECURSE ${WORK_DIR})
file(MAKE_DIRECTORY ${WORK_DIR})
include(${SOURCE_DIR}/tests/support/sessions.cmake)
configure_file(${SOURCE_DIR}/samples/book/ch1.fm ${WORK_DIR}/ch1.fm COPYONLY)
file(WRITE ${WORK_DIR}/scripts.xml [=[<NodeWizardScripts Version1="">
<NodeWizardScript><NWScriptName>Grow table</NWScriptName><NWScriptSettings><GeneralSettings><ScriptIsActive><Yes/></ScriptIsActive></GeneralSettings></NWScriptSettings>
  <NWScriptEvent><XPathExpression>//Row/Cell[1]</XPathExpression><OtherActions>
    <Get_object_property><TblTag><Apply_to_parameter>fmt</Apply_to_parameter></TblTag></Get_object_property>
    <Add_object><Add_table_row_below/></Add_object>
    <Do_messaging><Do_OK_prompt><Parameter_value>fmt</Parameter_value></Do_OK_prompt></Do_messaging>
  </OtherActions></NWScriptEvent></NodeWizardScript>
<NodeWizardScript><NWScriptName>Name title</NWScriptName><NWScriptSettings><GeneralSettings><ScriptIsActive><Yes/></ScriptIsActive></GeneralSettings></NWScriptSettings>
  <NWScriptEvent><XPathExpression>//Title</XPathExpression><OtherActions>
    <Do_messaging><Do_string_entry_prompt><Static_value>Name the chapter</Static_value><Result>name</Result></Do_string_entry_prompt></Do_messaging>
    <Do_messaging><Do_Yes_No_prompt><Static_value>Write the name?</Static_value></Do_Yes_No_prompt></Do_messaging>
  </OtherActions><AttributeActions><Replace_values_with_spec>
    <Attribute><Static_value>id</Static_value></Attribute><Value><Parameter_value>name</Parameter_value></Value>
  </Replace_values_with_spec></AttributeActions></NWScriptEvent></NodeWizardScript>
</NodeWizardScripts>
]=])
string(REPLACE "/" "\\" win_work "Z:${WORK_DIR}")
qv_settle(${WORK_DIR}/appdata "PROMPT_NW_SCRIPT_GENERAL_MSGS=Never\n")
qv_run_session(other ${WORK_DIR}/appdata "call-client Quorvane SetAppParm---EC_NWScriptsDoc---${win_work}\\scripts.xml
open ch1.fm
call-client Quorvane \"RunNodeWizardScript---Grow table---0---ch1.fm---1\"
note grown
print tree ch1.fm
answer prompt setup
answer alert yes
call-client Quorvane \"RunNodeWizardScript---Name title---0---ch1.fm---1\"
note named
print tree ch1.fm
answer prompt other
answer alert no
call-client Quorvane \"RunNodeWizardScript---Name title---0---ch1.fm---1\"
note refused
print tree ch1.fm
")
qv_section(grown "Grow table" "note: named")
qv_section(named "note: named" "answer: \"other\"")
qv_section(refused "answer: \"other\"" "unsaved changes at quit")
qv_expect("${grown}" "alert (Continue): Format A")
qv_expect("${grown}" "Other actions: 3 succeeded, 0 failed.")
qv_expect("${grown}" "      Row\n        Cell\n          \"Templates\"\n        Cell\n          \"report and translation files\"\n      Row\n        Cell\n        Cell\n")
qv_expect("${named}" "Title id=\"setup\"")
qv_expect("${refused}" "The script run was cancelled.")
qv_expect("${refused}" "Title id=\"setup\"")
