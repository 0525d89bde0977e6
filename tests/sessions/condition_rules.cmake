# Condition rules through whole sessions: rules set up in the Condition Manager are saved and
# read again by the next session; opening a document applies them when the trigger says so and
# not otherwise; a book run applies them to every open component and lists the closed one; Esc
# stops a book run after the current component; clearing removes every condition and nothing else.
file(REMOVE_RECURSE ${WORK_DIR})
file(MAKE_DIRECTORY ${WORK_DIR})
include(${SOURCE_DIR}/tests/support/sessions.cmake)
set(appdata ${WORK_DIR}/appdata)
set(settings ${appdata}/Adobe/FrameMaker/16/OrleMeadow/Quorvane)
qv_settle(${appdata} "STARTUP_LANGUAGE=English\nQVRN_MENU_LOCATION=MAIN\n")

function(run_session name script)
  qv_run_session(${name} ${appdata} "${script}\nprint transcript\n" --quiet)
  set(out "${out}" PARENT_SCOPE)
endfunction()

# A chapter: two paragraphs and a note, with the condition tags Draft and Print.
function(chapter file first)
  file(WRITE ${WORK_DIR}/${file} [=[<?xml version="1.0" encoding="UTF-8"?>
<qvdocument version="1">
  <catalog>
    <element-def name="Chapter" type="1"/>
    <element-def name="Para" type="1" paragraph-format="Body"/>
    <element-def name="Note" type="1" paragraph-format="Body"/>
  </catalog>
  <formats>
    <format kind="32" name="Body"/>
    <format kind="34" name="Draft"/>
    <format kind="34" name="Print"/>
    <format kind="35" name="Red"/>
  </formats>
  <flows>
    <flow name="Main" main="1">
      <e tag="Chapter">
        <e tag="Para"><t>]=] "${first}" [=[</t></e>
        <e tag="Para"><t>second</t></e>
        <e tag="Note"><t>note</t></e>
      </e>
    </flow>
  </flows>
</qvdocument>
]=])
endfunction()

# The runs of a saved native document that carry a condition tag.
function(expect_tags file count)
  file(READ ${WORK_DIR}/${file} text)
  string(REGEX MATCHALL "<c name=\"Draft\"" tags "${text}")
  list(LENGTH tags n)
  if(NOT n EQUAL ${count})
    message(FATAL_ERROR "${file}: ${n} Draft runs, expected ${count}:\n${text}")
  endif()
endfunction()

# 1. The Condition Manager: a rule for paragraphs tagging Draft, applied after opening documents.
run_session(manager [=[
answer dialog qv_DialogConditionManager "type 18 self::Para" "press 19" "type 30 Draft" "press 31" "check 6" "press 37"
command Quorvane_Cmd_Cond_Mngmt_Settings
]=])
file(READ ${settings}/Quorvane_Cond_Mgmt_Settings.fm saved)
if(NOT saved MATCHES "<v>self::Para</v>" OR NOT saved MATCHES "<a name=\"Setting16\">[ \n]*<v>True</v>")
  message(FATAL_ERROR "the Condition Manager did not save the rule and the trigger:\n${saved}")
endif()

# 2. The next session reads them: opening a document applies the rule to both paragraphs.
chapter(open_on.fm "first")
run_session(open_on [=[
open open_on.fm
save-as open_on_saved.fm native
]=])
expect_tags(open_on_saved.fm 2)

# 3. With the trigger off again, opening applies nothing.
chapter(open_off.fm "first")
run_session(open_off [=[
answer dialog qv_DialogConditionManager "check 6" "press 37"
command Quorvane_Cmd_Cond_Mngmt_Settings
open open_off.fm
save-as open_off_saved.fm native
]=])
expect_tags(open_off_saved.fm 0)

# 4. A book of three chapters, the second closed: every open one gets the rule, the closed one is named.
file(WRITE ${WORK_DIR}/all.book [=[<?xml version="1.0" encoding="UTF-8"?>
<qvbook version="1" root="Book">
  <component type="512" tag="Chapter" path="a.fm"/>
  <component type="512" tag="Chapter" path="closed.fm"/>
  <component type="512" tag="Chapter" path="c.fm"/>
</qvbook>
]=])
foreach(f a.fm closed.fm c.fm)
  chapter(${f} "text")
endforeach()
run_session(book [=[
open a.fm
open c.fm
open all.book
answer alert yes
command Quorvane_Cmd_Auto_Apply_Conditions_Whole_Book
expect-transcript Conditions were applied to 4 element(s).
expect-transcript These book components were not open and were skipped:
expect-transcript closed.fm
save-as a_book.fm native a.fm
save-as c_book.fm native c.fm
]=])
expect_tags(a_book.fm 2)
expect_tags(c_book.fm 2)

# 5. Esc after the first component (polls: a's flow, after a, ...): c keeps no conditions.
foreach(f a.fm c.fm)
  chapter(${f} "text")
endforeach()
run_session(book_esc [=[
open a.fm
open c.fm
open all.book
answer alert yes
esc 2
answer alert yes
command Quorvane_Cmd_Auto_Apply_Conditions_Whole_Book
expect-transcript Applying conditions to the book was cancelled.
expect-no-transcript Conditions were applied
save-as a_esc.fm native a.fm
save-as c_esc.fm native c.fm
]=])
expect_tags(a_esc.fm 2)
expect_tags(c_esc.fm 0)

# 6. Clearing the document: no condition left, the text and structure as they were.
run_session(clear [=[
open a_esc.fm
answer alert yes
command Quorvane_Cmd_Clear_Conditions
save-as a_clear.fm native
]=])
expect_tags(a_clear.fm 0)
file(READ ${WORK_DIR}/a_esc.fm before)
file(READ ${WORK_DIR}/a_clear.fm after)
string(REGEX REPLACE "[ \n]*<r length=\"[0-9]+\">[ \n]*<c name=\"Draft\"/>[ \n]*</r>" "" before "${before}")
string(REGEX REPLACE "[ \n]*<r length=\"[0-9]+\">[ \n]*</r>" "" after "${after}")
if(NOT before STREQUAL after)
  message(FATAL_ERROR "clearing changed more than the conditions:\n${before}\n---\n${after}")
endif()
