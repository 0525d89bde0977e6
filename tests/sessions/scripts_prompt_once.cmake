# The general script messages set to Once: every run's summary shows while the setting stays
# Once, so two runs from a launch shortcut show two summaries; a palette run asks, runs, shows
# its summary and says the run is complete, and only then is the setting spent, so the next
# palette run neither asks nor reports.
file(REMOVE_RECURSE ${WORK_DIR})
file(MAKE_DIRECTORY ${WORK_DIR})
file(COPY ${SOURCE_DIR}/samples/scripts/plants.xml DESTINATION ${WORK_DIR})
include(${SOURCE_DIR}/tests/support/sessions.cmake)
qv_settle(${WORK_DIR}/appdata "PROMPT_NW_SCRIPT_GENERAL_MSGS=Once\nNW_SCRIPT_LAUNCH_SHORTCUTS\nFinish reviews~~~~^r\n\n")
qv_run_session(once ${WORK_DIR}/appdata "open plants.xml
shortcut ^r
note second shortcut
shortcut ^r
note palette
command Quorvane_Cmd_Node_Wizard_Scripts
dialog qv_DialogNWScripts \"choose 6 1\"
answer alert yes
dialog qv_DialogNWScripts \"choose 9 0\"
dialog qv_DialogNWScripts \"press 16\"
expect-transcript The script run is complete.
note second palette run
dialog qv_DialogNWScripts \"press 16\"
note end
dialog qv_DialogNWScripts \"press 22\"
")
qv_section(first "user: shortcut" "note: second shortcut")
qv_section(second "note: second shortcut" "note: palette")
qv_section(palette "note: palette" "note: second palette run")
qv_section(again "note: second palette run" "note: end")
qv_expect("${first}" "Element actions:")
qv_expect("${second}" "Element actions:")
qv_expect("${palette}" "Element actions:")
qv_expect("${palette}" "The script run is complete.")
qv_expect_not("${again}" "Element actions:")
qv_expect_not("${again}" "The script run is complete.")
