# The status box and the transformation's progress palette write their lines into the transcript
# as the plug-in sets them: Perform Action(s) On All's "Attempted actions" for every match up to
# 99, then every 10th; the book word count's component lines; the palette's phase and dots. On a
# terminal the same progress is one status line on standard error that rewrites itself and is
# cleared at the end; captured output never carries it.
file(REMOVE_RECURSE ${WORK_DIR})
file(MAKE_DIRECTORY ${WORK_DIR})
include(${SOURCE_DIR}/tests/support/sessions.cmake)
set(appdata ${WORK_DIR}/appdata)
qv_settle(${appdata} "STARTUP_LANGUAGE=English\n")
file(COPY ${SOURCE_DIR}/samples/book ${SOURCE_DIR}/samples/transform/report_stylesheet.fm
     ${SOURCE_DIR}/samples/transform/source.fm DESTINATION ${WORK_DIR})
string(REPEAT "<p>x</p>" 130 paras)
file(WRITE ${WORK_DIR}/many.xml "<doc>${paras}<note>n</note></doc>\n")

set(script [=[
open many.xml
command Quorvane_Cmd_Node_Wizard
dialog qv_DialogNodeWizard "type 2 //p" "choose 21 \"Retag as\"" "type 24 note"
answer alert yes "will be performed on every match"
dialog qv_DialogNodeWizard "press \"Perform Action(s) On All\""
expect-transcript Element actions: 130 succeeded, 0 failed.
close
answer alert no
open book/Manual.book
library BookWordCount
open report_stylesheet.fm
answer dialog qv_DialogTransformationSetup "press 12"
command Quorvane_Cmd_Transform_Doc
expect-transcript Transformation complete.
]=])
qv_run_session(progress ${appdata} "${script}")
qv_expect_not("${out}" "\"Line 1\"")
foreach(n 0 1 99 100 110 120)
  qv_expect("${out}" "status \"Processing...\" 2: \"Attempted actions: ${n}\"\n")
endforeach()
foreach(n 101 109 111 129)
  qv_expect_not("${out}" "status \"Processing...\" 2: \"Attempted actions: ${n}\"\n")
endforeach()
qv_expect("${out}" "status \"Processing Book\" 2: \"Processing:  ch1.fm\"\nstatus \"Processing Book\" 2: \"Processing:  ch2.fm\"\nalert (OK): 41 words counted in book.")
qv_expect("${out}" "status \"Transforming...\" 4: \"Parsing XPath and checking stylesheet...\"")
qv_expect("${out}" "status \"Transforming...\" 5: \"  o  o  o\"")
string(FIND "${out}" "\r" cr)
if(NOT cr EQUAL -1)
  message(FATAL_ERROR "the captured transcript carries the terminal's status line:\n${out}")
endif()

# On a terminal (where the system offers one to a program through `script`).
find_program(script_program script)
if(script_program)
  execute_process(COMMAND ${script_program} -qec "APPDATA=${appdata} ${QVHOST} --quiet --plugin ${BIN_DIR}/Quorvane_FM2020.so run ${WORK_DIR}/progress.qvs" /dev/null
                  WORKING_DIRECTORY ${WORK_DIR} RESULT_VARIABLE rc OUTPUT_VARIABLE tty)
  string(ASCII 27 esc)
  string(FIND "${tty}" "\r${esc}[KProcessing...:  Performing actions... please wait  Attempted actions: 120" shown)
  string(FIND "${tty}" "\r${esc}[KTransforming...:" palette)
  if(NOT rc EQUAL 0 OR shown LESS 0 OR palette LESS 0 OR NOT tty MATCHES "\r${esc}\\[K$")
    message(FATAL_ERROR "no status line on the terminal (${rc}):\n${tty}")
  endif()
endif()
