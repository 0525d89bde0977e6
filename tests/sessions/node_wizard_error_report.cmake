# Perform On All with an action that fails on every match: the error report gets an entry per
# failure up to the limit and one entry saying the limit was reached; a second batch appends to
# the same report; an entry's link brings the failing element back, and a link to an element
# that is gone says so; a closed report is made anew from the template.
file(MAKE_DIRECTORY ${WORK_DIR})
file(WRITE ${WORK_DIR}/b.xml "<doc><sec><p>1</p><p>2</p><p>3</p><p>4</p><p>5</p></sec><sec><p>6</p></sec></doc>\n")
file(WRITE ${WORK_DIR}/report.qvs [=[
open b.xml
node-wizard expression //p
node-wizard element-action "Retag as"
node-wizard name nosuchtag
node-wizard max-errors 3
answer alert yes
node-wizard press "Perform On All"
node-wizard counts
expect-transcript console: node wizard: element actions 0 succeeded, 6 failed; attribute actions 0 succeeded, 0 failed; 6 attempted
expect-document "Quorvane Error Report"
note first batch
print tree "Quorvane Error Report"
activate b.xml
node-wizard expression //sec
answer alert yes
node-wizard press "Perform On All"
note second batch
print tree "Quorvane Error Report"
activate "Quorvane Error Report"
follow-link 2
expect-transcript link: selected <p> in b.xml
select /doc/sec[1]/p[2]
node-wizard element-action "Delete element"
node-wizard press "Perform"
activate "Quorvane Error Report"
follow-link 2
expect-transcript link: stale, no element with unique id
close "Quorvane Error Report"
activate b.xml
node-wizard expression //sec
node-wizard element-action "Retag as"
answer alert yes
node-wizard press "Perform On All"
note third batch
print tree "Quorvane Error Report"
]=])
execute_process(COMMAND ${QVHOST} --quiet run ${WORK_DIR}/report.qvs
  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "the session failed (${rc}): ${err}\n${out}")
endif()
# Each printout of the report: the entries' headings and links, in order (";" would split the
# list of printouts).
string(REPLACE ";" "," out "${out}")
string(REGEX MATCHALL "QuorvaneErrorReport[^Q]*" reports "${out}")
list(LENGTH reports count)
if(NOT count EQUAL 3)
  message(FATAL_ERROR "expected three printouts of the report:\n${out}")
endif()
list(GET reports 0 first)
list(GET reports 1 second)
list(GET reports 2 third)
string(REGEX MATCHALL "NodeWizardActionError" e1 "${first}")
string(REGEX MATCHALL "NodeWizardActionError" e2 "${second}")
string(REGEX MATCHALL "NodeWizardActionError" e3 "${third}")
list(LENGTH e1 n1)
list(LENGTH e2 n2)
list(LENGTH e3 n3)
# Three entries and the limit entry; then the two sections; a fresh report holds only the last two.
if(NOT n1 EQUAL 4 OR NOT n2 EQUAL 6 OR NOT n3 EQUAL 2)
  message(FATAL_ERROR "report entries ${n1}, ${n2}, ${n3}:\n${out}")
endif()
string(REGEX MATCHALL "Marker \\[openObjectId [^]]*b\\.xml:5 [0-9]+\\]" links "${first}")
list(LENGTH links nlinks)
if(NOT nlinks EQUAL 4)
  message(FATAL_ERROR "every entry links back to b.xml:\n${first}")
endif()
if(NOT first MATCHES "NWA_ERR_MSG_100|limit of 3 reported errors")
  message(FATAL_ERROR "the fourth entry says that the limit was reached:\n${first}")
endif()
if(NOT first MATCHES "NWA_ERR_MSG_1\"|nosuchtag")
  message(FATAL_ERROR "the entries name the missing definition:\n${first}")
endif()
