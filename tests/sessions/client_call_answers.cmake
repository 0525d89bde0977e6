# A client call's answer is written as what it is for its call: a status code by its name, an id
# as an id, a sequence number as "sequence N", an attribute index, a version as its value.
file(REMOVE_RECURSE ${WORK_DIR})
file(MAKE_DIRECTORY ${WORK_DIR})
include(${SOURCE_DIR}/tests/support/sessions.cmake)
set(appdata ${WORK_DIR}/appdata)
qv_settle(${appdata} "STARTUP_LANGUAGE=English\n")
file(WRITE ${WORK_DIR}/a.xml "<doc><p id=\"x\">one</p></doc>\n")
set(script [=[
open a.xml
call-client Quorvane ParseXPath---//p/@id
call-client Quorvane "FindNextNode---164---nosuch.xml---0---0"
call-client Quorvane RetrieveAttrMatch---164
call-client Quorvane ResetSequence---999
call-client Quorvane GetAppParm---QuorvaneVersionMinor
call-client Quorvane ParseXPath---//p[
call-client Quorvane ChangeCallDelimiter###
call-client Quorvane "GetAppParm###EC_NoSuchParameter"
call-client Quorvane Nothing
print transcript
]=])
qv_run_session(answers ${appdata} "${script}" --quiet)
foreach(answer "164 (sequence 64)" "6 (no such document)" "99 (no attribute)" "4 (no such sequence)" "144 (value 44)"
               "3 (does not compile)" "1 (delimiter changed)" "20 (unknown parameter)" "1 (unknown call)")
  qv_expect("${out}" "client call Quorvane answered ${answer}\n")
endforeach()
