# The templates the plug-in ships never change: the XPath error report, the Node Wizard's error
# report and a new language file each open as an untitled copy; a `save` of one is refused with a
# message that says to use Save As, Save As works, and afterwards every file of the plug-in's
# folder is byte for byte the file it was copied from. The language file saved takes its new name
# as its label; the reports keep the labels the plug-in gave them.
file(REMOVE_RECURSE ${WORK_DIR})
file(MAKE_DIRECTORY ${WORK_DIR}/plugin)
include(${SOURCE_DIR}/tests/support/sessions.cmake)
set(appdata ${WORK_DIR}/appdata)
qv_settle(${appdata} "STARTUP_LANGUAGE=English\nQVRN_MENU_LOCATION=MAIN\n")
file(GLOB shipped ${SOURCE_DIR}/defaults/*)
file(COPY ${shipped} DESTINATION ${WORK_DIR}/plugin)
file(WRITE ${WORK_DIR}/b.xml "<doc><p>1</p><p>2</p></doc>\n")
string(REPLACE "/" "\\" xpath_report "Z:${WORK_DIR}/plugin/XPath_Error_Report.fm")

set(script [=[
open b.xml
command Quorvane_Cmd_Node_Wizard
dialog qv_DialogNodeWizard "type 2 //p["
dialog qv_DialogNodeWizard "press 50"
try save "@XPATH_REPORT@"
expect-transcript refused: cannot save "@XPATH_REPORT@": the document is untitled; use Save As
save-as xpath-report-@RUN@.fm native "@XPATH_REPORT@"
activate b.xml
dialog qv_DialogNodeWizard "type 2 //p"
dialog qv_DialogNodeWizard "choose 21 \"Retag as\""
dialog qv_DialogNodeWizard "type 24 nosuchtag"
answer alert yes
dialog qv_DialogNodeWizard "press 53"
try save "Quorvane Error Report"
expect-transcript refused: cannot save "Quorvane Error Report": the document is untitled; use Save As
save-as nw-report-@RUN@.fm native "Quorvane Error Report"
dialog qv_DialogNodeWizard "press 54"
answer alert yes
command Quorvane_Cmd_Create_Lang_File
try save OM_TranslationFileTemplate.fm
expect-transcript refused: cannot save "OM_TranslationFileTemplate.fm": the document is untitled; use Save As
save-as lang-@RUN@.fm native OM_TranslationFileTemplate.fm
expect-document lang-@RUN@.fm
expect-document "Quorvane Error Report"
print documents
]=])
string(REPLACE "@XPATH_REPORT@" "${xpath_report}" script "${script}")
foreach(run 1 2)
  string(REPLACE "@RUN@" "${run}" this "${script}")
  qv_run_session(templates${run} ${appdata} "${this}" --client-dir ${WORK_DIR}/plugin)
  foreach(saved xpath-report nw-report lang)
    if(NOT EXISTS ${WORK_DIR}/${saved}-${run}.fm)
      message(FATAL_ERROR "Save As wrote no ${saved}-${run}.fm:\n${out}")
    endif()
  endforeach()
endforeach()
# The second session's reports start from the template as the first did: one batch of entries.
foreach(name nw-report xpath-report)
  file(READ ${WORK_DIR}/${name}-1.fm first)
  file(READ ${WORK_DIR}/${name}-2.fm second)
  string(REGEX REPLACE "uid=\"[0-9]+\"|[0-9]+/[0-9]+/[0-9]+[^<]*" "" first "${first}")
  string(REGEX REPLACE "uid=\"[0-9]+\"|[0-9]+/[0-9]+/[0-9]+[^<]*" "" second "${second}")
  string(LENGTH "${first}" n1)
  string(LENGTH "${second}" n2)
  if(NOT n1 EQUAL n2)
    message(FATAL_ERROR "the second ${name} differs in size from the first (${n1}, ${n2})")
  endif()
endforeach()
foreach(file ${shipped})
  get_filename_component(name ${file} NAME)
  execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${file} ${WORK_DIR}/plugin/${name} RESULT_VARIABLE differs)
  if(differs)
    message(FATAL_ERROR "the shipped file ${name} changed in the plug-in's folder")
  endif()
endforeach()
