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

# A user's session on a book whose chapters are external entities: opening it twice gives one
# document, an edit inside a chapter is saved to the chapter's file, and the main file keeps its
# DOCTYPE, comments, processing instructions and references. A chapter outside the book's
# folder is refused by name.
file(REMOVE_RECURSE ${WORK_DIR})
file(MAKE_DIRECTORY ${WORK_DIR}/book/chapters)
file(WRITE ${WORK_DIR}/secret.xml "<chapter>TOP-SECRET</chapter>\n")
file(WRITE ${WORK_DIR}/book/main.xml [=[
<?xml version="1.0" encoding="UTF-8"?>
<!-- Licence: keep this header. -->
<!DOCTYPE book PUBLIC "-//Example//DTD Book//EN" "book.dtd" [
  <!ENTITY ch1 SYSTEM "ch1.xml">
  <!ENTITY ch2 SYSTEM "chapters/ch2.xml">
]>
<?app keep="me"?>
<book><title>Manual</title>&ch1;&ch2;</book>
]=])
file(WRITE ${WORK_DIR}/book/book.dtd "<!ELEMENT book ANY>\n")
file(WRITE ${WORK_DIR}/book/ch1.xml "<chapter id=\"c1\"><para>One</para></chapter>\n")
file(WRITE ${WORK_DIR}/book/chapters/ch2.xml "<chapter id=\"c2\"><para>Two</para></chapter>\n")
file(WRITE ${WORK_DIR}/book/leak.xml "<!DOCTYPE r [<!ENTITY s SYSTEM \"../secret.xml\">]>\n<r>&s;</r>\n")
file(WRITE ${WORK_DIR}/book.qvs [=[
open book/main.xml
open book/main.xml
print documents
select /book/chapter[2]
set-attribute status final
save
close
try open book/leak.xml
expect-transcript the entity "s" names the file
expect-no-document leak.xml
]=])
execute_process(COMMAND ${QVHOST} --quiet run ${WORK_DIR}/book.qvs RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "the book session failed (${rc}): ${err}\n${out}")
endif()
string(REGEX MATCHALL "document \"main.xml\"" opened "${out}")
list(LENGTH opened count)
if(NOT count EQUAL 1 OR out MATCHES "TOP-SECRET")
  message(FATAL_ERROR "main.xml listed ${count} times, or a refused file's content shown:\n${out}")
endif()
file(READ ${WORK_DIR}/book/main.xml main)
file(READ ${WORK_DIR}/book/chapters/ch2.xml ch2)
foreach(kept "<!-- Licence: keep this header. -->" "PUBLIC \"-//Example//DTD Book//EN\" \"book.dtd\""
             "<?app keep=\"me\"?>" "&ch1;" "&ch2;")
  string(FIND "${main}" "${kept}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "the saved main file lost ${kept}:\n${main}")
  endif()
endforeach()
if(NOT ch2 MATCHES "status=\"final\"" OR main MATCHES "status=")
  message(FATAL_ERROR "the edit did not go to the chapter's file:\n${main}\n${ch2}")
endif()

# The user hears what an open could not read and what a close or quit throws away: a DTD that is
# missing (the file still opens), and unsaved changes by the document's label.
file(WRITE ${WORK_DIR}/told/notes.xml "<!DOCTYPE notes SYSTEM \"gone.dtd\">\n<notes><note k=\"1\">a</note></notes>\n")
file(WRITE ${WORK_DIR}/told/other.xml "<notes><note>b</note></notes>\n")
file(WRITE ${WORK_DIR}/told.qvs [=[
open told/notes.xml
expect-transcript could not be read: elements have only the attributes they carry
select /notes/note[1]
set-attribute k 2
close
expect-transcript "notes.xml" was closed with unsaved changes: its changes were discarded.
open told/other.xml
select /notes/note[1]
set-attribute k 3
quit
]=])
execute_process(COMMAND ${QVHOST} run ${WORK_DIR}/told.qvs RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT rc EQUAL 0 OR NOT out MATCHES "\"other.xml\" has unsaved changes at quit: its changes were discarded.")
  message(FATAL_ERROR "the told session failed (${rc}) or said nothing of the discarded changes: ${err}\n${out}")
endif()
