# qvhost query: matches of expressions over a small XML document through the plug-in's
# inter-client calls, printed as element paths; compile errors and missing documents.
set(doc ${SOURCE_DIR}/tests/data/xpath_query.xml)

# Runs qvhost query with the arguments; checks the exit status and the standard output
# (lines joined by "|"), and that standard error contains `err` when it is given.
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

query(0 "/doc[1]/sec[1]/para[1]|/doc[1]/sec[1]/para[2]|/doc[1]/sec[2]/para[1]" "" ${doc} "//para")
query(0 "/doc[1]/sec[1]/para[1]/text()[1]|/doc[1]/sec[1]/para[1]/text()[2]" "" ${doc} "/doc/sec[1]/para[1]/text()")
query(0 "/doc[1]/sec[1]/@id|/doc[1]/sec[2]/@id" "" ${doc} "//sec/@id")
query(0 "/doc[1]/sec[2]/para[1]" "" ${doc} "//sec[@id = 's2']/para")
query(0 "/doc[1]/sec[1]/para[2]" "" ${doc} "//para[contains(., 'cond')]")
# A relative expression from a start element; a delimiter-like text inside the expression.
query(0 "/doc[1]/sec[2]/para[1]" "" ${doc} "para" --start "/doc/sec[2]")
query(0 "" "" ${doc} "//para[. = '---']")
query(0 "/doc[1]/sec[1]/title[1]" "" ${doc} "//title" --flow Main)
# Failures.
query(2 "" "XPath error 50115: " ${doc} "//para[")
query(2 "" "query needs a document and an expression" ${doc})
query(1 "" "cannot open" ${SOURCE_DIR}/tests/data/no_such_file.xml "//a")
query(1 "" "no flow \"Nope\"" ${doc} "//a" --flow Nope)
query(1 "" "no element at /doc/sec\\[3\\]" ${doc} "para" --start "/doc/sec[3]")
