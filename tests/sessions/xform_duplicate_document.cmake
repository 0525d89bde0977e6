# A transformation on a duplicate, from the Transform command: the duplicate is a second document
# read from the saved file and saved under the suffixed name, while the user's window stays on the
# original, unchanged and active; a faulty stylesheet's error entries name the stylesheet file
# the user launched from, their links leading into the duplicate.
file(REMOVE_RECURSE ${WORK_DIR})
file(MAKE_DIRECTORY ${WORK_DIR})
file(COPY ${SOURCE_DIR}/samples/transform/report_stylesheet.fm ${SOURCE_DIR}/samples/transform/source.fm
          ${SOURCE_DIR}/samples/transform/faulty_stylesheet.fm DESTINATION ${WORK_DIR})
string(REPLACE "/" "\\" win_work "Z:${WORK_DIR}")
include(${SOURCE_DIR}/tests/support/sessions.cmake)
qv_settle(${WORK_DIR}/appdata "")
qv_run_session(duplicate ${WORK_DIR}/appdata "open report_stylesheet.fm
answer dialog qv_DialogTransformationSetup \"press 12\"
command Quorvane_Cmd_Transform_Doc
expect-transcript Transformation complete.
note after the report
print documents
print tree report_stylesheet.fm
open faulty_stylesheet.fm
answer dialog qv_DialogTransformationSetup \"press 12\"
command Quorvane_Cmd_Transform_Doc
note after the faulty one
print tree \"Quorvane Error Report\"
")
qv_section(report "note: after the report" "user: open faulty_stylesheet.fm")
qv_expect("${report}" "document \"report_stylesheet.fm\" path \"${win_work}\\report_stylesheet.fm\" active")
qv_expect("${report}" "document \"report_stylesheet (TRANSFORMED).fm\" path \"${win_work}\\report_stylesheet (TRANSFORMED).fm\"")
qv_expect("${report}" "QVRN_table")  # the original keeps its stylesheet elements
if(NOT EXISTS "${WORK_DIR}/report_stylesheet (TRANSFORMED).fm")
  message(FATAL_ERROR "the duplicate was not saved:\n${out}")
endif()
string(FIND "${out}" "note: after the faulty one" at)
string(SUBSTRING "${out}" ${at} -1 faulty)
string(REPLACE "\\" "\\\\" win_escaped "${win_work}")
qv_expect("${faulty}" "Stylesheet file: ${win_escaped}\\\\faulty_stylesheet.fm\"")
qv_expect("${faulty}" "openObjectId ${win_work}\\faulty_stylesheet (TRANSFORMED).fm:5")
