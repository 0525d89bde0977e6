# print tree shows the active or the named document's elements one per line, indented by level,
# with attribute values and text; an insert shows up in the next printout.
file(MAKE_DIRECTORY ${WORK_DIR})
file(WRITE ${WORK_DIR}/a.xml "<doc><sec id=\"s1\" kind=\"x\"><p>one</p></sec><sec><p>two<b>bold</b></p></sec></doc>\n")
file(WRITE ${WORK_DIR}/b.xml "<note>other</note>\n")
file(WRITE ${WORK_DIR}/tree.qvs [=[
open a.xml
open b.xml
print tree a.xml
print tree
activate a.xml
select /doc/sec[2]
insert p
print tree
try print tree nothing.xml
expect-transcript refused: no open document "nothing.xml"
]=])
execute_process(COMMAND ${QVHOST} --quiet run ${WORK_DIR}/tree.qvs
  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "the session failed (${rc}): ${err}\n${out}")
endif()
set(first "doc\n  sec id=\"s1\" kind=\"x\"\n    p\n      \"one\"\n  sec\n    p\n      \"two\"\n      b\n        \"bold\"\n")
set(second "note\n  \"other\"\n")
set(third "${first}    p\n")
string(FIND "${out}" "${first}${second}${third}" at)
if(at EQUAL -1)
  message(FATAL_ERROR "print tree shows:\n${out}")
endif()
