# Plain XML as qvhost query sees it: attributes answer what each element carries, literals may
# hold brackets, external files are read only where the loading rules allow, and entity
# expansion is bounded.
set(data ${SOURCE_DIR}/tests/data/xmlfiles)

# Runs qvhost query with the arguments; checks the exit status and the standard output (lines
# joined by "|"), and that standard error contains `err` when it is given.
function(query want_status want_out want_err)
  execute_process(COMMAND ${QVHOST} query ${ARGN}
                  RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
  string(STRIP "${out}" out)
  string(REPLACE "\n" "|" out "${out}")
  if(NOT status EQUAL want_status OR NOT out STREQUAL want_out)
    message(FATAL_ERROR "query ${ARGN}: status ${status}, output \"${out}\" (stderr: ${err}); "
                        "wanted status ${want_status}, output \"${want_out}\"")
  endif()
  if(want_err AND NOT err MATCHES "${want_err}")
    message(FATAL_ERROR "query ${ARGN}: stderr \"${err}\" lacks \"${want_err}\"")
  endif()
endfunction()

# Without a DTD an attribute belongs only to the elements that carry it.
query(0 "/r[1]/x[1]" "" ${data}/attrs.xml "//x[@k]")
query(0 "/r[1]/x[2]" "" ${data}/attrs.xml "//x[not(@k)]")
query(0 "/r[1]/x[1]/@k" "" ${data}/attrs.xml "//x/@k")
# A "]" or ")" inside a quoted literal belongs to the literal.
query(0 "/r[1]/p[1]" "" ${data}/literals.xml "//p[@k='a]b']")
query(0 "/r[1]/p[3]" "" ${data}/literals.xml "//p[contains(@k, 'a)')]")
