# The set-up dialogs of the stylesheet elements driven by the scripted user: each element type is
# inserted into the report stylesheet, its dialog filled and confirmed, and reopened by a double
# click (Cancel there keeps it); an expression that does not compile is refused and the dialog
# stays up; the newest expression of the history is picked from its pop-up; Cancel right after
# an insertion removes the element; the table's width rows follow the column count; an empty
# sort key, a static parameter value and a stylesheet without templates.
file(REMOVE_RECURSE ${WORK_DIR})
file(MAKE_DIRECTORY ${WORK_DIR})
file(COPY ${SOURCE_DIR}/samples/transform/report_stylesheet.fm ${SOURCE_DIR}/samples/transform/source.fm
     DESTINATION ${WORK_DIR})
# The same stylesheet without its flow of templates.
file(READ ${WORK_DIR}/report_stylesheet.fm text)
string(REGEX REPLACE "<flow name=\"QVRN_template\">.*</flow>" "" text "${text}")
file(WRITE ${WORK_DIR}/plain_stylesheet.fm "${text}")
string(REPLACE "/" "\\" xpath_report "Z:${BIN_DIR}/XPath_Error_Report.fm")

file(WRITE ${WORK_DIR}/setup.qvs [=[
answer alert yes
open source.fm
open report_stylesheet.fm
note value-of
select /Report
answer dialog qv_DialogValueOf "type 3" "press 43" "type 3 Name" "choose 9 3" "radio 17" "radio 22" "radio 29" "radio 36" "press 43"
answer alert no
insert QVRN_value-of
note copy-of
select /Report
answer dialog qv_DialogCopyOf "type 3 //Part[" "press 28" "type 3 //Part" "type 25 abc" "choose 9 \"Current\"" "radio 21" "radio 16" "press 28"
answer alert no
insert QVRN_copy-of
note for-each
select /Report
answer dialog qv_DialogCopyOf "type 3 //Part" "type 25 5" "radio 16" "press 28"
try insert QVRN_for-each
note if
select /Report
answer dialog qv_DialogIf "type 3 //Part[@id]" "choose 9 \"Current\"" "radio 16" "press 18"
insert QVRN_if
note when, its test the newest expression of the history
select /Report
answer dialog qv_DialogIf "choose 4 0" "press 18"
insert QVRN_when
note sort
select /Report
answer dialog qv_DialogSort "type 3" "radio 9" "radio 14" "press 16"
insert QVRN_sort
note table
select /Report
answer dialog qv_DialogTable "type 27 2" "type 15 5" "type 27 2.5" "choose 22 \"1.5\"" "press 57"
try insert QVRN_table
note tablerow
select /Report
answer dialog qv_DialogTableRow "type 8 //Part" "choose 14 \"Current\"" "radio 21" "press 23"
insert QVRN_tablerow
note tablecell
select /Report
answer dialog qv_DialogElementTag "press 6"
insert QVRN_tablecell
note create-xref
select /Report
answer dialog qv_DialogCreateXRef "type 3 //Part[@id='p1']" "choose 26 \"Para\"" "press 38"
insert QVRN_create-xref
note set-attribute
select /Report
answer dialog qv_DialogSetAttribute "type 3 @id" "press 36" "type 15 ref" "radio 24" "type 19 x1" "press 36"
answer alert no
insert QVRN_set-attribute
note set-marker
select /Report
answer dialog qv_DialogSetAttribute "type 15 ref" "type 3 Name" "press 36"
try insert QVRN_set-marker
note template
select /Report
answer dialog qv_DialogTemplate "choose 4 \"remark\"" "radio 16" "press 19"
insert QVRN_template
note param
select /Report
answer dialog qv_DialogParam "type 12 'O'Brien'" "press 28" "type 3 who" "press 28"
answer alert no
insert QVRN_param
note cancelled param
select /Report
answer dialog qv_DialogParam "type 3 gone" "press 29"
insert QVRN_param
note written
print tree report_stylesheet.fm
note reopened value-of
double-click /Report/QVRN_value-of
note reopened copy-of
double-click /Report/QVRN_copy-of
note reopened if
double-click /Report/QVRN_if
note reopened table
double-click /Report/QVRN_table[2]
note reopened create-xref
double-click /Report/QVRN_create-xref
note reopened set-marker
double-click /Report/QVRN_set-marker
note reopened param
double-click /Report/QVRN_param[2]
note sample table
answer dialog qv_DialogTable "type 15 20" "press 57"
double-click /Report/QVRN_table[1]
note not a stylesheet element
select /Report/Title
command Quorvane_Cmd_Set_Up_QVRN_Element
note after reopening
print tree report_stylesheet.fm
note engine message
print tree @XPATH_REPORT@
note no templates
open plain_stylesheet.fm
select /Report
answer dialog qv_DialogTemplate "type 3" "press 19" "type 3 local" "press 19"
answer alert no
insert QVRN_template
print tree plain_stylesheet.fm
note end
]=])
file(READ ${WORK_DIR}/setup.qvs script)
string(REPLACE "@XPATH_REPORT@" "${xpath_report}" script "${script}")
file(WRITE ${WORK_DIR}/setup.qvs "${script}")
execute_process(COMMAND ${CMAKE_COMMAND} -E env APPDATA=${WORK_DIR}/appdata
  ${QVHOST} --verbose --plugin ${BIN_DIR}/Quorvane_FM2020.so run ${WORK_DIR}/setup.qvs
  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "the session failed (${rc}): ${err}\n${out}")
endif()
file(WRITE ${WORK_DIR}/transcript.txt "${out}")
include(${SOURCE_DIR}/tests/support/sessions.cmake)
# A block of the transcript between two notes.
function(section name from to)
  qv_section(text "note: ${from}\n" "note: ${to}\n")
  set(${name} "${text}" PARENT_SCOPE)
endfunction()

# Every element type writes what its dialog was given.
section(written "written" "reopened value-of")
foreach(line
    [[QVRN_value-of select="Name" source_file="source.fm" starting_context="Inherit" qvrn_element="Preserve" ContextDocIsLocal="True" xref_action="ConvertToText" marker_action="Unwrap" variable_action="Preserve" equation_action="Unwrap" graphic_action="Preserve"]]
    [[QVRN_copy-of select="//Part" source_file="Current" starting_context="QVRN_element" max_matches="0" qvrn_element="Preserve" ContextDocIsLocal="True"]]
    [[QVRN_for-each select="//Part" source_file="Inherit" starting_context="Inherit" max_matches="5" ContextDocIsLocal="False"]]
    [[QVRN_if test="//Part[@id]" source_file="Current" starting_context="QVRN_element" ContextDocIsLocal="True"]]
    [[QVRN_when test="//Part[@id]" source_file="Inherit" starting_context="Inherit" ContextDocIsLocal="False"]]
    [[QVRN_sort select="." order="Descending" data-type="Numeric"]]
    [[QVRN_table element_tag="PartsTable" format="" num_columns="5" column_widths="1;1.5;1;2.5;1;1;1;1;1;1;1;1;"]]
    [[QVRN_tablerow select="//Part" source_file="Current" starting_context="QVRN_element" ContextDocIsLocal="True" element_tag="PartsRow"]]
    [[QVRN_tablecell element_tag="PartsCell"]]
    [[QVRN_create-xref select="//Part[@id='p1']" source_file="Inherit" starting_context="Inherit" qvrn_element="Remove" ContextDocIsLocal="False" element_tag="PartRef" format="Heading" wrap_element="Para"]]
    [[QVRN_set-attribute select="@id" source_file="Inherit" starting_context="Inherit" qvrn_element="Remove" ContextDocIsLocal="False" attribute="ref" value="x1" target_element="Preceding-sibling"]]
    [[QVRN_set-marker select="Name" source_file="Inherit" starting_context="Inherit" qvrn_element="Remove" ContextDocIsLocal="False" value="" target_element="Parent"]]
    [[QVRN_template source_file="Current" qvrn_element="Preserve" ContextDocIsLocal="False" template_ID="remark"]]
    [[QVRN_param select="'O'Brien'" source_file="Inherit" starting_context="Inherit" qvrn_element="Remove" name="who"]])
  qv_expect("${written}" "\n  ${line}\n")
endforeach()
# Cancel right after the insertion took the element away again.
qv_expect_not("${written}" "gone")
# The refused expression kept the dialog up: the author's next input was written.
section(copyof "copy-of" "for-each")
qv_expect("${copyof}" "Your XPath could not be parsed. Are you sure you want to continue?\n  answer: No (scripted)\nuser: type \"//Part\" into item 3")
section(valueof "value-of" "copy-of")
qv_expect("${valueof}" "You have not specified an XPath expression. Are you sure you want to continue?\n  answer: No (scripted)\nuser: type \"Name\"")
section(engine "engine message" "no templates")
qv_expect("${engine}" "XPath\n    \"//Part[\"\n  ErrorPosition\n    \"......^\"\n  ErrorMessage\n    \"A square bracket is not closed")
# A for-each has no disposition; a set-marker no attribute; a static parameter value is not compiled.
section(foreach "for-each" "if")
qv_expect("${foreach}" "  15 radio button \"Remove\" state 1 (greyed)")
qv_expect("${foreach}" "cannot radio 16: item 16 is greyed")
section(param "param" "cancelled param")
qv_expect_not("${param}" "could not be parsed")
qv_expect("${param}" "You have not specified a parameter name.")
# The width rows follow the column count as it is typed.
section(table "table" "tablerow")
qv_expect("${table}" "  15 text box \"\" text \"3\"\n")
qv_expect("${table}" "  24 text box \"\" text \"1\"\n")
qv_expect("${table}" "  27 text box \"\" text \"1\" (greyed)")
qv_expect("${table}" "cannot type 27 2: item 27 is greyed\nuser: type \"5\" into item 15\nuser: type \"2.5\" into item 27")
# Reopened by a double click, each dialog shows what was written; its Cancel keeps the element.
section(reopened "reopened value-of" "sample table")
foreach(line
    [[  3 text box "" text "Name"]] [[  17 radio button "Convert to text" state 1]] [[  22 radio button "Unwrap (delete)" state 1]]
    [[  29 radio button "Unwrap (delete)" state 1]] [[  36 radio button "Preserve" state 1]] [[  8 label "source.fm"]]
    [[  3 text box "" text "//Part"]] [[  21 radio button "QVRN element" state 1]] [[  16 radio button "Preserve" state 1]]
    [[  3 text box "" text "//Part[@id]"]]
    [[  15 text box "" text "5"]] [[  27 text box "" text "2.5"]] [[  30 text box "" text "1"
]] [[  33 text box "" text "1" (greyed)]]
    [[  25 text box "" text "Para"]] [[  15 text box "" text "" (greyed)]] [[  23 radio button "Parent" state 1]]
    [[  3 text box "" text "who"]] [[  12 text box "" text "'O'Brien'"]])
  qv_expect("${reopened}" "${line}")
endforeach()
# A table of two columns: its widths 2;1.5 fill up with 1; a count above twelve is written as 1.
section(sample "sample table" "not a stylesheet element")
qv_expect("${sample}" "  18 text box \"\" text \"2\"\n  19")
qv_expect("${sample}" "  21 text box \"\" text \"1.5\"\n  22")
qv_expect("${sample}" "  24 text box \"\" text \"1\" (greyed)")
section(after "after reopening" "engine message")
qv_expect("${after}" [[QVRN_table element_tag="PartsTable" format="" num_columns="1" column_widths="2;1.5;1;1;1;1;1;1;1;1;1;1;"]])
qv_expect("${after}" [[  QVRN_param select="'O'Brien'" source_file="Inherit" starting_context="Inherit" qvrn_element="Remove" name="who"]])
section(other "not a stylesheet element" "after reopening")
qv_expect("${other}" "Not an QVRN element.")
# Without templates the ID pop-up keeps its resource entry, and an empty ID is asked about.
section(plain "no templates" "end")
qv_expect("${plain}" "  4 pop-up \"\" [\"placeholder\"] selected 0")
qv_expect("${plain}" "  3 text box \"\" text \"{tag}\"")
qv_expect("${plain}" "You have not specified a template ID. Are you sure you want to continue?\n  answer: No (scripted)")
qv_expect("${plain}" [[QVRN_template source_file="Current" qvrn_element="Remove" ContextDocIsLocal="False" template_ID="local"]])
