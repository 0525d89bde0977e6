# Perform On All: a retag of every match (the counts, no error report, the match list kept);
# Esc before the first action (nothing changed, the selection back where it was); Delete element,
# after which the match list is empty; Match First and Match Next.
file(MAKE_DIRECTORY ${WORK_DIR})
file(WRITE ${WORK_DIR}/a.xml "<doc><sec><p>one</p><p>two</p></sec><sec><p>three</p><note>n</note></sec></doc>\n")
file(WRITE ${WORK_DIR}/perform.qvs [=[
open a.xml
node-wizard expression //p
node-wizard element-action "Retag as"
node-wizard name note
answer alert yes
node-wizard press "Perform On All"
node-wizard counts
expect-transcript console: node wizard: element actions 3 succeeded, 0 failed; attribute actions 0 succeeded, 0 failed; 3 attempted; 3 in the match list
expect-no-document "Quorvane Error Report"
note after the retag
print tree

# Esc before the first action: the confirmation is answered yes; nothing changes and the
# selection is where it was (an insertion goes into the note selected before).
select /doc/sec[2]/note[2]
node-wizard expression //note
node-wizard element-action "Delete element"
answer alert yes yes
esc 1
node-wizard press "Perform On All"
node-wizard counts
expect-transcript console: node wizard: element actions 0 succeeded, 0 failed; attribute actions 0 succeeded, 0 failed; 0 attempted; 0 in the match list
insert p
note after the cancel
print tree

# Delete breaks the match list: it is empty afterwards.
answer alert yes
node-wizard press "Perform On All"
node-wizard counts
expect-transcript console: node wizard: element actions 4 succeeded, 0 failed; attribute actions 0 succeeded, 0 failed; 4 attempted; 0 in the match list
note after the delete
print tree

# Match First, then Match Next until there is no more.
node-wizard expression //sec
node-wizard press "Match First"
node-wizard press "Match Next"
node-wizard press "Match Next"
node-wizard counts
]=])
execute_process(COMMAND ${QVHOST} --quiet run ${WORK_DIR}/perform.qvs
  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "the session failed (${rc}): ${err}\n${out}")
endif()
set(retagged "doc\n  sec\n    note\n      \"one\"\n    note\n      \"two\"\n  sec\n    note\n      \"three\"\n    note\n      \"n\"\n")
set(cancelled "doc\n  sec\n    note\n      \"one\"\n    note\n      \"two\"\n  sec\n    note\n      \"three\"\n    note\n      \"n\"\n      p\n")
set(deleted "doc\n  sec\n  sec\n")
# Two sections matched one at a time; the third Match Next found none and added nothing.
string(REGEX MATCHALL "[0-9]+ in the match list" lists "${out}")
list(GET lists -1 last)
if(NOT last STREQUAL "2 in the match list")
  message(FATAL_ERROR "Match First and Match Next: ${last}\n${out}")
endif()
# The printouts in order (the counts are printed between them).
set(rest "${out}")
foreach(tree retagged cancelled deleted)
  string(FIND "${rest}" "${${tree}}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "the document ${tree}:\n${out}")
  endif()
  string(LENGTH "${${tree}}" n)
  math(EXPR at "${at} + ${n}")
  string(SUBSTRING "${rest}" ${at} -1 rest)
endforeach()
