# The settings folder through whole sessions: a first start asks, creates the folder and copies
# every default file; a second start asks nothing; a declined first start and a settings folder
# that cannot be created leave the plug-in inert (no menus, client calls or notifications), and
# the transcript says why.
file(REMOVE_RECURSE ${WORK_DIR})
file(MAKE_DIRECTORY ${WORK_DIR})
set(settings_path Adobe/FrameMaker/16/OrleMeadow/Quorvane)

function(run_session name appdata script)
  file(WRITE ${WORK_DIR}/${name}.qvs "${script}")
  execute_process(COMMAND ${CMAKE_COMMAND} -E env APPDATA=${appdata}
                          ${QVHOST} --plugin ${BIN_DIR}/Quorvane_FM2020.so --quiet run ${WORK_DIR}/${name}.qvs
                  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "${name}: qvhost failed (${rc}): ${err}\n${out}")
  endif()
  set(out "${out}" PARENT_SCOPE)
endfunction()

# First start: the notice, then every default file in the new folder and the settings version.
run_session(first ${WORK_DIR}/appdata
  "answer alert yes\nprint transcript\nprint menus\ncall-client Quorvane ParseXPath---//a\nexpect-transcript client call Quorvane answered\n")
if(NOT out MATCHES "Quorvane initialization notice!" OR NOT out MATCHES "!Quorvane_Menu_MainDocMenu")
  message(FATAL_ERROR "first start: no notice or no menus:\n${out}")
endif()
foreach(default Quorvane_General_Preferences.txt Quorvane_Cond_Mgmt_Settings.fm Quorvane_Node_Wizard_Scripts.fm
                Quorvane_XPath_Favorites.txt Quorvane_NWScript_Doc_Favorites.txt)
  file(READ ${BIN_DIR}/${default} shipped)
  file(READ ${WORK_DIR}/appdata/${settings_path}/${default} copied)
  if(NOT shipped STREQUAL copied)
    message(FATAL_ERROR "first start: ${default} not copied")
  endif()
endforeach()
file(STRINGS ${WORK_DIR}/appdata/${settings_path}/Quorvane.version version)
if(NOT version MATCHES "^3;44;")
  message(FATAL_ERROR "first start: settings version ${version}")
endif()

# Second start: nothing is asked or told; the condition settings are read from the settings
# folder's copy, kept open out of sight.
run_session(second ${WORK_DIR}/appdata "print transcript\nprint menus\nprint documents\nexpect-no-transcript alert\n")
if(NOT out MATCHES "!Quorvane_Menu_MainDocMenu")
  message(FATAL_ERROR "second start: no menus:\n${out}")
endif()
if(NOT out MATCHES "OrleMeadow.Quorvane.Quorvane_Cond_Mgmt_Settings.fm\" hidden")
  message(FATAL_ERROR "second start: the condition settings not read from the settings folder:\n${out}")
endif()

# Declined: the notice is in the transcript, then nothing of the plug-in answers.
set(inert_script "print transcript\nprint menus\nprint clients\ntry call-client Quorvane ParseXPath---//a\nexpect-transcript refused: no client \"Quorvane\" takes client calls\n")
run_session(declined ${WORK_DIR}/declined "answer alert no\n${inert_script}")
if(NOT out MATCHES "Quorvane initialization notice!" OR out MATCHES "Quorvane_Menu"
   OR NOT out MATCHES "client \"Quorvane\" notifications\n")
  message(FATAL_ERROR "declined start: not inert or not told:\n${out}")
endif()
if(EXISTS ${WORK_DIR}/declined/${settings_path}/Quorvane.version)
  message(FATAL_ERROR "declined start: the settings version was written")
endif()

# A settings folder that cannot be created (a file stands where its parent should be).
file(WRITE ${WORK_DIR}/blocked "not a folder")
run_session(blocked ${WORK_DIR}/blocked "${inert_script}")
if(NOT out MATCHES "unable to create the following directory" OR out MATCHES "Quorvane_Menu"
   OR NOT out MATCHES "client \"Quorvane\" notifications\n")
  message(FATAL_ERROR "uncreatable folder: not inert or not told:\n${out}")
endif()
