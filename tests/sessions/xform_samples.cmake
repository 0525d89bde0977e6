# The transformation samples through whole sessions: the report stylesheet transformed from the
# Transform command through the launch palette (on a duplicate), the book of two chapters in
# place, Check Stylesheet on a faulty stylesheet with a link back to each fault, the report
# stylesheet transformed by another client's TransformFile call, and a stylesheet saved into
# another folder with its relative source paths rebased.
file(REMOVE_RECURSE ${WORK_DIR})
file(MAKE_DIRECTORY ${WORK_DIR}/sub)
file(GLOB samples ${SOURCE_DIR}/samples/transform/*)
file(COPY ${samples} DESTINATION ${WORK_DIR})
string(REPLACE "/" "\\" win_work "Z:${WORK_DIR}")

file(WRITE ${WORK_DIR}/samples.qvs "answer alert yes
note The report stylesheet, from the Transform command, on a duplicate
open report_stylesheet.fm
answer dialog qv_DialogTransformationSetup \"press 12\"
command Quorvane_Cmd_Transform_Doc
expect-transcript Transformation complete.
expect-document \"report_stylesheet (TRANSFORMED).fm\"
print tree \"report_stylesheet (TRANSFORMED).fm\"
note The book of two chapters, in place
open book.book
answer dialog qv_DialogTransformationSetup \"check 6 0\" \"press 12\"
answer alert yes
command Quorvane_Cmd_Transform_Doc
print tree chapter1.fm
print tree chapter2.fm
note Check Stylesheet on a faulty stylesheet
open faulty_stylesheet.fm
answer alert yes
command Quorvane_Cmd_Check_Stylesheet
expect-transcript Stylesheet check complete
print tree \"Quorvane Error Report\"
activate \"Quorvane Error Report\"
follow-link 1
expect-transcript link: selected <QVRN_copy-of> in faulty_stylesheet.fm
activate \"Quorvane Error Report\"
follow-link 3
expect-transcript link: selected <QVRN_table> in faulty_stylesheet.fm
note Another client transforms the report stylesheet itself
activate report_stylesheet.fm
call-client Quorvane TransformFile---${win_work}\\report_stylesheet.fm---NULL---1
expect-transcript client call Quorvane answered
print tree report_stylesheet.fm
note Save As of a stylesheet into another folder
activate faulty_stylesheet.fm
save-as sub/moved.fm
print tree moved.fm
")
execute_process(COMMAND ${CMAKE_COMMAND} -E env APPDATA=${WORK_DIR}/appdata
                        ${QVHOST} --plugin ${BIN_DIR}/Quorvane_FM2020.so run ${WORK_DIR}/samples.qvs
                WORKING_DIRECTORY ${WORK_DIR} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "the session failed (${rc}): ${err}\n${out}")
endif()

function(expect_in text)
  string(FIND "${out}" "${text}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "the transcript lacks:\n${text}\n--- transcript:\n${out}")
  endif()
endfunction()

# The report: a parameter's value, the table's rows sorted by price, a cross-reference to the
# source, the for-each sorted by name (descending) with the template's remark for each part.
expect_in("  Heading\n    \"Parts with status final\"\n  PartsTable\n    PartsTitle\n      Label\n        \"Parts by price\"")
expect_in("    PartsBody\n      PartsRow\n        PartsCell\n          \"Nut\"\n        PartsCell\n          \"5\"\n      PartsRow\n        PartsCell\n          \"Washer\"\n        PartsCell\n          \"12\"\n      PartsRow\n        PartsCell\n          \"Bolt\"\n        PartsCell\n          \"30\"")
expect_in("    \"The cheapest part: \"\n    PartRef ref=\"p2\"\n      \"Nut\"")
expect_in("  Item\n    \"Washer\"\n    Remark\n      \"(p3)\"\n  Item\n    \"Nut\"\n    Remark\n      \"(p2)\"\n  Item\n    \"Bolt\"\n    Remark\n      \"(p1)\"")
# The book's chapters.
expect_in("Chapter\n  Title\n    \"Parts\"\n  Item\n    \"Bolt\"\n  Item\n    \"Nut\"\n  Item\n    \"Washer\"")
expect_in("Chapter\n  Title\n    \"Final parts\"\n  Item\n    \"Bolt at 30\"\n  Item\n    \"Washer at 12\"\n  Para\n    \"Status shown: final\"")
# Each fault of the faulty stylesheet, with its link.
foreach(fault "Could not parse the XPath expression" "A bad QVRN_choose element structure"
              "invalid value specified for the 'num_columns' attribute" "is missing the XPath expression")
  string(REGEX MATCH "TransformationError\n    Marker \\[openObjectId [^\n]*faulty_stylesheet.fm:5 [0-9]+\\]\n    \"[^\n]*${fault}" hit "${out}")
  if(NOT hit)
    message(FATAL_ERROR "no linked entry for \"${fault}\"\n${out}")
  endif()
endforeach()
# Moved into sub/, the stylesheet's relative source paths step up one folder.
expect_in("QVRN_copy-of select=\"//Part[\" source_file=\"../source.fm\"")
if(NOT EXISTS "${WORK_DIR}/report_stylesheet (TRANSFORMED).fm")
  message(FATAL_ERROR "the duplicate was not saved")
endif()
