# Perform Action(s) On All with an action that fails on every match: the error report gets an
# entry per failure up to the limit (the preference, here 3) and one entry saying that the limit
# was reached; a second batch appends to the same report; an entry's link brings the failing
# element back, and a link to an element that is gone says so; a closed report is made anew from
# the template; an insert without a definition name is reported as "(None)".
file(REMOVE_RECURSE ${WORK_DIR})
file(MAKE_DIRECTORY ${WORK_DIR})
set(settings ${WORK_DIR}/appdata/Adobe/FrameMaker/16/OrleMeadow/Quorvane)
file(WRITE ${WORK_DIR}/b.xml "<doc><sec><p>1</p><p>2</p><p>3</p><p>4</p><p>5</p></sec><sec><p>6</p></sec></doc>\n")

function(run_session name script)
  file(WRITE ${WORK_DIR}/${name}.qvs "${script}")
  execute_process(COMMAND ${CMAKE_COMMAND} -E env APPDATA=${WORK_DIR}/appdata
    ${QVHOST} --plugin ${BIN_DIR}/Quorvane_FM2020.so run ${WORK_DIR}/${name}.qvs
    WORKING_DIRECTORY ${WORK_DIR} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "${name}: the session failed (${rc}): ${err}\n${out}")
  endif()
  set(out "${out}" PARENT_SCOPE)
endfunction()

# The first start makes the settings folder; the preferences then allow three reported errors.
run_session(first "answer alert yes\n")
file(READ ${settings}/Quorvane_General_Preferences.txt preferences)
string(REGEX REPLACE "NW_MAX_ERRORS_TO_REPORT=[0-9]+" "NW_MAX_ERRORS_TO_REPORT=3" preferences "${preferences}")
file(WRITE ${settings}/Quorvane_General_Preferences.txt "${preferences}")

run_session(report [=[
open b.xml
command Quorvane_Cmd_Node_Wizard
dialog qv_DialogNodeWizard "type 2 //p"
dialog qv_DialogNodeWizard "choose 21 \"Retag as\""
dialog qv_DialogNodeWizard "type 24 nosuchtag"
answer alert yes
dialog qv_DialogNodeWizard "press 53"
expect-transcript Element actions: 0 succeeded, 6 failed.
expect-document "Quorvane Error Report"
note =first
print tree "Quorvane Error Report"
activate b.xml
dialog qv_DialogNodeWizard "type 2 //sec"
answer alert yes
dialog qv_DialogNodeWizard "press 53"
note =second
print tree "Quorvane Error Report"
activate "Quorvane Error Report"
follow-link 2
expect-transcript link: selected <p> in b.xml
select /doc/sec[1]/p[2]
dialog qv_DialogNodeWizard "choose 21 \"Delete element\""
dialog qv_DialogNodeWizard "press 51"
activate "Quorvane Error Report"
follow-link 2
expect-transcript link: stale, no element with unique id
close "Quorvane Error Report"
activate b.xml
dialog qv_DialogNodeWizard "choose 21 \"Retag as\""
dialog qv_DialogNodeWizard "type 24 nosuchtag"
answer alert yes
dialog qv_DialogNodeWizard "press 53"
note =third
print tree "Quorvane Error Report"
activate b.xml
dialog qv_DialogNodeWizard "choose 21 \"Insert elem after\""
dialog qv_DialogNodeWizard "type 24 \"\""
answer alert yes
dialog qv_DialogNodeWizard "press 53"
note =fourth
print tree "Quorvane Error Report"
]=])
# Each printout of the report (";" in the texts would split the lists below).
string(REPLACE ";" "," out "${out}")
string(REGEX MATCHALL "QuorvaneErrorReport\n(  [^\n]*\n)*" reports "${out}")
list(LENGTH reports count)
if(NOT count EQUAL 4)
  message(FATAL_ERROR "expected four printouts of the report:\n${out}")
endif()
list(GET reports 0 first)
list(GET reports 1 second)
list(GET reports 2 third)
list(GET reports 3 fourth)
set(entries "")
foreach(report first second third fourth)
  string(REGEX MATCHALL "\n  NodeWizardActionError" found "${${report}}")
  list(LENGTH found n)
  list(APPEND entries ${n})
endforeach()
# Three entries and the limit entry; then the two sections; a fresh report holds only the last
# two; then two inserts without a definition name.
if(NOT entries STREQUAL "4;6;2;4")
  message(FATAL_ERROR "report entries ${entries}:\n${out}")
endif()
string(REGEX MATCHALL "Marker \\[openObjectId [^]]*b\\.xml:5 [0-9]+\\]" links "${first}")
list(LENGTH links nlinks)
if(NOT nlinks EQUAL 4)
  message(FATAL_ERROR "every entry links back to b.xml:\n${first}")
endif()
string(REGEX MATCHALL "definition [^a-z]*nosuchtag[^a-z]* does not exist" named "${first}")
list(LENGTH named nnamed)
if(NOT nnamed EQUAL 3 OR NOT first MATCHES "The limit of 3 reported errors was reached")
  message(FATAL_ERROR "three entries name the missing definition, the fourth the limit:\n${first}")
endif()
if(NOT fourth MATCHES "\\(None\\): the definition [^a-z]*\\(None\\)")
  message(FATAL_ERROR "an insert without a name is reported as (None):\n${fourth}")
endif()
