# The menus through whole sessions: with the menu location NONE no menu or menu command exists,
# yet the script launch commands answer their shortcuts and other clients' calls are answered;
# Set Language relabels the menus in the chosen language, and the plug-in's own opening of the
# language file raises no notification while the user's opens do.
file(REMOVE_RECURSE ${WORK_DIR})
file(MAKE_DIRECTORY ${WORK_DIR})

include(${SOURCE_DIR}/tests/support/sessions.cmake)

function(settle appdata preferences)
  qv_settle(${appdata} "${preferences}")
endfunction()

function(run_session name appdata script)
  qv_run_session(${name} ${appdata} "${script}" --quiet --trace)
  set(out "${out}" PARENT_SCOPE)
endfunction()

# Menu location NONE, with three launch shortcut entries (index 1 names no shortcut).
settle(${WORK_DIR}/none "QVRN_MENU_LOCATION=none\nMAX_XPATH_MATCHES=1000\nNW_SCRIPT_LAUNCH_SHORTCUTS\nFix tables~~~~\\!zq\nNothing\nOther~~~~^k\n\n")
run_session(none ${WORK_DIR}/none [=[
print menus
shortcut \!zq
expect-transcript Quorvane command 100: om_NWSRunShortcutCommand
shortcut ^k
expect-transcript Quorvane command 102: om_NWSRunShortcutCommand
try command Quorvane_NWS_Launch_Cmd_1
expect-transcript refused: no command named "Quorvane_NWS_Launch_Cmd_1"
try command Quorvane_Cmd_Node_Wizard
expect-transcript refused: no command named "Quorvane_Cmd_Node_Wizard"
call-client Quorvane ParseXPath---//a
expect-transcript client call Quorvane answered
]=])
if(out MATCHES "Quorvane_Menu" OR out MATCHES "qv_separator")
  message(FATAL_ERROR "menu location NONE: menus defined:\n${out}")
endif()

# Set Language: French from the settings folder.
settle(${WORK_DIR}/french "STARTUP_LANGUAGE=English\nQVRN_MENU_LOCATION=MAIN\n")
file(COPY ${SOURCE_DIR}/tests/sessions/data/Quorvane_Strings_Dialogs_French.fm
     DESTINATION ${WORK_DIR}/french/Adobe/FrameMaker/16/OrleMeadow/Quorvane)
file(COPY ${SOURCE_DIR}/samples/sample.xml DESTINATION ${WORK_DIR})
run_session(french ${WORK_DIR}/french [=[
open sample.xml
expect-transcript Quorvane notification 96: post-open XML
answer dialog om_Dialog_DDown "type 2 French" "press 4"
command Quorvane_Cmd_Set_Language
expect-no-transcript F_ApiNotify PostOpenDoc
print menus
]=])
foreach(label "Quorvane_Cmd_Node_Wizard \"Assistant de nœuds...\"" "Quorvane_Menu_Language \"Langue\""
              "Quorvane_Cmd_Help_About \"À propos de Quorvane...\"" "Quorvane_Cmd_Check_Stylesheet \"Check Stylesheet...\"")
  string(FIND "${out}" "${label}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "Set Language: ${label} missing:\n${out}")
  endif()
endforeach()
