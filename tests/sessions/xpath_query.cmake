# qvhost query: matches of expressions over a small XML document through the plug-in's
# inter-client calls, printed as element paths (with their values, or counted); the exit status
# says whether something matched (0), nothing did (1), the query could not run (2) or the
# document could not be opened (3); without %APPDATA% nothing is left behind.
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
query(1 "" "nothing matches //para\\[\\. = '---'\\]" ${doc} "//para[. = '---']")
query(0 "/doc[1]/sec[1]/title[1]" "" ${doc} "//title" --flow Main)
# Values after a tab (an element's text, an attribute's value), and the count alone.
query(0 "/doc[1]/sec[1]/para[1]	First bold text|/doc[1]/sec[1]/para[2]	Second condition|/doc[1]/sec[2]/para[1]	Third"
      "" ${doc} "//para" --values)
query(0 "/doc[1]/sec[1]/para[2]/@kind	note" "" ${doc} "//para/@kind" --values)
# Every attribute a definition declares, the values of a list joined by blanks.
query(0 "/Doc[1]/Para[1]/@id	p1|/Doc[1]/Para[1]/@roles	reader two words editor|/Doc[1]/Para[2]/@id	|/Doc[1]/Para[2]/@roles"
      "" ${SOURCE_DIR}/tests/data/xpath_query_values.fm "//Para/@*" --values)
query(0 "3" "" ${doc} "//para" --count)
query(1 "0" "nothing matches" ${doc} "//nothing" --count)
# Failures.
query(2 "" "XPath error 50115: " ${doc} "//para[")
query(2 "" "query needs a document and an expression" ${doc})
query(2 "" "do not go together" ${doc} "//para" --values --count)
query(3 "" "cannot open" ${SOURCE_DIR}/tests/data/no_such_file.xml "//a")
query(2 "" "no flow \"Nope\"" ${doc} "//a" --flow Nope)
query(2 "" "no element at /doc/sec\\[3\\]" ${doc} "para" --start "/doc/sec[3]")

# Without %APPDATA% the settings live in a temporary folder of the query's own, removed at exit:
# neither the home folder nor the temporary folder keeps anything.
set(home ${CMAKE_CURRENT_BINARY_DIR}/query_home)
file(REMOVE_RECURSE ${home})
file(MAKE_DIRECTORY ${home}/tmp)
execute_process(COMMAND ${CMAKE_COMMAND} -E env --unset=APPDATA HOME=${home} TMPDIR=${home}/tmp
                        ${QVHOST} query ${doc} "//title" RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
file(GLOB_RECURSE left LIST_DIRECTORIES true ${home}/*)
if(NOT status EQUAL 0 OR NOT out STREQUAL "/doc[1]/sec[1]/title[1]\n" OR NOT left STREQUAL "${home}/tmp")
  message(FATAL_ERROR "a query without %APPDATA%: status ${status}, output \"${out}\", left behind: ${left} (${err})")
endif()
