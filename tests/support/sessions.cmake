# Helpers of the session tests (included by tests/sessions/*.cmake).

# A user who has started this version of the plug-in before, with these general preferences, in
# the folder that %APPDATA% names.
function(qv_settle appdata preferences)
  set(dir ${appdata}/Adobe/FrameMaker/16/OrleMeadow/Quorvane)
  file(WRITE ${dir}/Quorvane.version "3\r\n44\r\n  \r\n**WARNING! Do not modify this file!\r\n")
  file(WRITE ${dir}/Quorvane_General_Preferences.txt "${preferences}")
endfunction()

# Plays a session script (written to WORK_DIR/NAME.qvs) with %APPDATA% at appdata and the
# further qvhost options given after the script; the transcript is left in `out`. A failing
# session stops the test with its transcript.
function(qv_run_session name appdata script)
  file(WRITE ${WORK_DIR}/${name}.qvs "${script}")
  execute_process(COMMAND ${CMAKE_COMMAND} -E env APPDATA=${appdata}
                          ${QVHOST} --plugin ${BIN_DIR}/Quorvane_FM2020.so ${ARGN} run ${WORK_DIR}/${name}.qvs
                  WORKING_DIRECTORY ${WORK_DIR} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "${name}: qvhost failed (${rc}): ${err}\n${out}")
  endif()
  set(out "${out}" PARENT_SCOPE)
endfunction()

# The part of the transcript `out` from the anchor `from` up to the anchor `to`, into the variable
# named `name`.
function(qv_section name from to)
  string(FIND "${out}" "${from}" a)
  string(FIND "${out}" "${to}" b)
  if(a LESS 0 OR b LESS a)
    message(FATAL_ERROR "no block ${from} .. ${to} in:\n${out}")
  endif()
  math(EXPR len "${b} - ${a}")
  string(SUBSTRING "${out}" ${a} ${len} text)
  set(${name} "${text}" PARENT_SCOPE)
endfunction()

# The text holds (qv_expect) or does not hold (qv_expect_not) what.
function(qv_expect text what)
  string(FIND "${text}" "${what}" at)
  if(at LESS 0)
    message(FATAL_ERROR "missing \"${what}\" in:\n${text}")
  endif()
endfunction()
function(qv_expect_not text what)
  string(FIND "${text}" "${what}" at)
  if(NOT at LESS 0)
    message(FATAL_ERROR "unexpected \"${what}\" in:\n${text}")
  endif()
endfunction()

# Plays a session script that must fail: qvhost's status is 1 and its standard error shows
# `message`; the transcript is left in `out`.
function(qv_run_failing_session name appdata script message)
  file(WRITE ${WORK_DIR}/${name}.qvs "${script}")
  execute_process(COMMAND ${CMAKE_COMMAND} -E env APPDATA=${appdata}
                          ${QVHOST} --plugin ${BIN_DIR}/Quorvane_FM2020.so ${ARGN} run ${WORK_DIR}/${name}.qvs
                  WORKING_DIRECTORY ${WORK_DIR} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
  string(FIND "${err}" "${message}" at)
  if(NOT rc EQUAL 1 OR at LESS 0)
    message(FATAL_ERROR "${name}: expected status 1 and \"${message}\", got ${rc}: ${err}\n${out}")
  endif()
  set(out "${out}" PARENT_SCOPE)
endfunction()
