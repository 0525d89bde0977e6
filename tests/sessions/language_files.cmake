# The language-file commands through whole sessions: a new language file made from the template
# holds the current English strings; after the plug-in gained a string the file lacks (here: its
# row turned into one the plug-in no longer uses), an update adds exactly that row and marks the
# unused one; the file's translations then label the menus.
file(REMOVE_RECURSE ${WORK_DIR})
file(MAKE_DIRECTORY ${WORK_DIR})
include(${SOURCE_DIR}/tests/support/sessions.cmake)
set(appdata ${WORK_DIR}/appdata)
set(settings ${appdata}/Adobe/FrameMaker/16/OrleMeadow/Quorvane)
qv_settle(${appdata} "STARTUP_LANGUAGE=English\nQVRN_MENU_LOCATION=MAIN\n")

function(run_session name script)
  qv_run_session(${name} ${appdata} "${script}\nprint transcript\n" --quiet)
  set(out "${out}" PARENT_SCOPE)
endfunction()

function(count_rows file text var)
  file(READ ${WORK_DIR}/${file} content)
  string(REGEX MATCHALL "<e tag=\"Row\"" rows "${content}")
  list(LENGTH rows n)
  set(${var} ${n} PARENT_SCOPE)
endfunction()

# 1. Create: the template filled; the Condition Manager's labels are among the rows.
run_session(create [=[
answer alert yes
command Quorvane_Cmd_Create_Lang_File
expect-transcript Update complete.
expect-transcript Total unmatched existing strings: 0
save-as Pirate.fm native OM_TranslationFileTemplate.fm
]=])
file(READ ${WORK_DIR}/Pirate.fm created)
foreach(s "General settings" "Conditionalize parent element also" "Condition Management Settings..." "Jump to index:")
  string(FIND "${created}" ">${s}</t>" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "create: \"${s}\" missing")
  endif()
endforeach()
string(REGEX MATCH "Total strings: [0-9]+" total "${out}")

# The file as a translator left it: a translation for a menu label, and the row of "General
# settings" holding an English text the plug-in no longer uses (so the plug-in's string is new).
set(g "(<e tag=\"Row\" uid=\"[0-9]+\">[ \n]*<e tag=\"Cell\" uid=\"[0-9]+\">[ \n]*<t uid=\"[0-9]+\">)General settings(</t>[ \n]*</e>[ \n]*)<e tag=\"Cell\" uid=\"([0-9]+)\"/>")
string(REGEX REPLACE "${g}" "\\1Obsolete label\\2<e tag=\"Cell\" uid=\"\\3\"><t>Vieux</t></e>" edited "${created}")
set(m "(<t uid=\"[0-9]+\">Condition Management Settings\\.\\.\\.</t>[ \n]*</e>[ \n]*)<e tag=\"Cell\" uid=\"([0-9]+)\"/>")
string(REGEX REPLACE "${m}" "\\1<e tag=\"Cell\" uid=\"\\2\"><t>Rules Chest...</t></e>" edited "${edited}")
if(edited STREQUAL created)
  message(FATAL_ERROR "the language file could not be edited")
endif()
file(WRITE ${WORK_DIR}/Quorvane_Strings_Dialogs_Pirate.fm "${edited}")
count_rows(Quorvane_Strings_Dialogs_Pirate.fm "" before)

# 2. Update: one row added, the unused one counted and marked, the translations kept.
run_session(update [=[
open Quorvane_Strings_Dialogs_Pirate.fm
answer alert yes
command Quorvane_Cmd_Update_Language_File
expect-transcript Total unmatched existing strings: 1
save
]=])
string(REGEX MATCH "Total strings: [0-9]+" again "${out}")
if(NOT again STREQUAL total)
  message(FATAL_ERROR "update: ${again}, the first count was ${total}")
endif()
count_rows(Quorvane_Strings_Dialogs_Pirate.fm "" after)
math(EXPR added "${after} - ${before}")
file(READ ${WORK_DIR}/Quorvane_Strings_Dialogs_Pirate.fm updated)
if(NOT added EQUAL 1 OR NOT updated MATCHES ">General settings</t>" OR NOT updated MATCHES ">Vieux</t>"
   OR NOT updated MATCHES "Rules Chest")
  message(FATAL_ERROR "update: ${added} rows added, or a string or translation missing:\n${updated}")
endif()
if(NOT updated MATCHES "Obsolete label</t>[ \n]*<r length=\"14\" format=\"Red\"")
  message(FATAL_ERROR "update: the unused row is not marked:\n${updated}")
endif()

# 3. The language in use: its translation labels the menu command.
file(COPY ${WORK_DIR}/Quorvane_Strings_Dialogs_Pirate.fm DESTINATION ${settings})
run_session(menus [=[
answer dialog om_Dialog_DDown "type 2 Pirate" "press 4"
command Quorvane_Cmd_Set_Language
print menus
]=])
if(NOT out MATCHES "Quorvane_Cmd_Cond_Mngmt_Settings \"Rules Chest...\"")
  message(FATAL_ERROR "the menus do not show the translation:\n${out}")
endif()
