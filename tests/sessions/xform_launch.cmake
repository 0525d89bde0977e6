# The Transform command's launch palette and its questions. A book duplicate without a folder,
# or into the book's own folder, keeps the palette open with its message. With the prompts set to
# Once: working in place asks with the once-only note, a No keeps the palette open and runs
# nothing, a Yes runs and spends the question; the warning on external cross-references shows
# once, with its note; the question on unsaved changes is spent once shown, even when answered No.
# With the prompts set to No nothing is asked and the warning never shows.
file(REMOVE_RECURSE ${WORK_DIR})
file(MAKE_DIRECTORY ${WORK_DIR}/once ${WORK_DIR}/never)
include(${SOURCE_DIR}/tests/support/sessions.cmake)
file(GLOB samples ${SOURCE_DIR}/samples/transform/*)
# The report's cross-references go to parts without an ID, which the run gives them: the first
# stylesheet to the second part, another copy of it to the third.
file(READ ${SOURCE_DIR}/samples/transform/report_stylesheet.fm stylesheet)
file(READ ${SOURCE_DIR}/samples/transform/source.fm source)
string(REPLACE "<a name=\"id\"><v>p2</v></a>" "" source "${source}")
string(REPLACE "<a name=\"id\"><v>p3</v></a>" "" source "${source}")
foreach(dir once never)
  file(COPY ${samples} DESTINATION ${WORK_DIR}/${dir})
  file(WRITE ${WORK_DIR}/${dir}/source.fm "${source}")
  foreach(part 2 3)
    string(REPLACE "//Part[@id='p2']" "//Part[${part}]" text "${stylesheet}")
    file(WRITE ${WORK_DIR}/${dir}/to${part}.fm "${text}")
  endforeach()
endforeach()
string(REPLACE "/" "\\" win_work "Z:${WORK_DIR}")
set(in_place "without creating a duplicate first.")
set(in_place_note "NOTE: You have your preferences set to display this warning only once.")
set(xrefs "Quorvane created one or more external cross-references")
set(xrefs_note "preferences set to   show this warning only once.")
set(unsaved "Quorvane has detected unsaved changes")

qv_settle(${WORK_DIR}/once/appdata "PROMPT_XFORM_SOURCE_FILE_WARNING=Once\nPROMPT_XFORM_CREATE_XREF_WARNING=Once\nPROMPT_XFORM_UNSAVED_CHANGES_WARNING=Once\n")
qv_run_session(once ${WORK_DIR}/once/appdata "open once/book.book
answer dialog qv_DialogTransformationSetup \"press 8\" \"press 12\" \"press 13\"
answer choose --cancel
command Quorvane_Cmd_Transform_Doc
expect-transcript but have not specified a folder for the duplicate book.
answer dialog qv_DialogTransformationSetup \"press 8\" \"press 12\" \"press 13\"
answer choose ${win_work}\\ONCE
command Quorvane_Cmd_Transform_Doc
expect-transcript but have specified the same folder as the original book.
note in place refused
open once/to2.fm
answer dialog qv_DialogTransformationSetup \"check 6 0\" \"press 12\" \"press 13\"
answer alert no \"${in_place}\"
command Quorvane_Cmd_Transform_Doc
note in place
answer dialog qv_DialogTransformationSetup \"check 6 0\" \"press 12\"
answer alert yes \"${in_place}\"
command Quorvane_Cmd_Transform_Doc
expect-transcript Transformation complete.
note in place again
open once/to3.fm
answer dialog qv_DialogTransformationSetup \"check 6 0\" \"press 12\"
command Quorvane_Cmd_Transform_Doc
expect-transcript Transformation complete.
note unsaved refused
open once/source.fm
select /Catalog[1]/Part[1]
set-attribute status changed
answer dialog qv_DialogTransformationSetup \"check 6 1\" \"press 12\"
answer alert no \"${unsaved}\"
command Quorvane_Cmd_Transform_Doc
note unsaved again
answer dialog qv_DialogTransformationSetup \"press 12\"
command Quorvane_Cmd_Transform_Doc
expect-transcript Transformation complete.
note end
")
qv_section(refused "note: in place refused" "note: in place\n")
qv_section(yes "note: in place\n" "note: in place again")
qv_section(again "note: in place again" "note: unsaved refused")
qv_section(unsaved_no "note: unsaved refused" "note: unsaved again")
qv_section(unsaved_again "note: unsaved again" "note: end")
qv_expect("${refused}" "${in_place_note}")
qv_expect_not("${refused}" "Transformation complete.")
qv_expect("${yes}" "${in_place_note}")
qv_expect("${yes}" "${xrefs}")
qv_expect("${yes}" "${xrefs_note}")
qv_expect_not("${again}" "${in_place}")
qv_expect_not("${again}" "${xrefs}")
qv_expect("${unsaved_no}" "${unsaved}")
qv_expect_not("${unsaved_no}" "Transformation complete.")
qv_expect_not("${unsaved_again}" "${unsaved}")
if(NOT EXISTS "${WORK_DIR}/once/source (TRANSFORMED).fm")
  message(FATAL_ERROR "the modified document was not saved and duplicated:\n${out}")
endif()

qv_settle(${WORK_DIR}/never/appdata "PROMPT_XFORM_SOURCE_FILE_WARNING=No\nPROMPT_XFORM_CREATE_XREF_WARNING=No\nPROMPT_XFORM_UNSAVED_CHANGES_WARNING=No\n")
qv_run_session(never ${WORK_DIR}/never/appdata "open never/to2.fm
answer dialog qv_DialogTransformationSetup \"check 6 0\" \"press 12\"
command Quorvane_Cmd_Transform_Doc
expect-transcript Transformation complete.
")
qv_expect_not("${out}" "${in_place}")
qv_expect_not("${out}" "${xrefs}")
