# A book transformed on a duplicate by another client's TransformFile call: the folder is a folder
# with or without its closing separator (the duplicate lands inside it); the original book and
# its chapters stay byte for byte as they were (the book written in a layout of its own); a
# second run into a folder that now holds the book's files, and a run into the book's own
# folder, are refused before anything is written.
file(REMOVE_RECURSE ${WORK_DIR})
file(MAKE_DIRECTORY ${WORK_DIR}/src ${WORK_DIR}/out)
include(${SOURCE_DIR}/tests/support/sessions.cmake)
foreach(f chapter1.fm chapter2.fm)
  configure_file(${SOURCE_DIR}/samples/transform/${f} ${WORK_DIR}/src/${f} COPYONLY)
endforeach()
file(WRITE ${WORK_DIR}/src/book.book "<?xml version=\"1.0\"?><qvbook version=\"1\" root=\"Book\"><component tag=\"Chapter\" path=\"chapter1.fm\"/><component type=\"512\" tag=\"Chapter\" path=\"chapter2.fm\"/></qvbook>\n")
file(MAKE_DIRECTORY ${WORK_DIR}/original)
file(COPY ${WORK_DIR}/src/ DESTINATION ${WORK_DIR}/original)
string(REPLACE "/" "\\" win_work "Z:${WORK_DIR}")

qv_run_session(duplicate ${WORK_DIR}/appdata "answer alert yes
open src/book.book
call-client Quorvane TransformFile---${win_work}\\src\\book.book---${win_work}\\out---1
expect-transcript client call Quorvane answered
print documents
open src/book.book
call-client Quorvane TransformFile---${win_work}\\src\\book.book---${win_work}\\out---1
expect-transcript The book cannot be duplicated into ${win_work}\\out\\: it would replace ${win_work}\\out\\book.book.
call-client Quorvane TransformFile---${win_work}\\src\\book.book---${win_work}\\src---1
expect-transcript The book cannot be duplicated into ${win_work}\\src\\: it would replace ${win_work}\\src\\book.book.
")
foreach(f book.book chapter1.fm chapter2.fm)
  if(NOT EXISTS ${WORK_DIR}/out/${f})
    message(FATAL_ERROR "the duplicate has no out/${f}:\n${out}")
  endif()
  if(EXISTS ${WORK_DIR}/out${f})
    message(FATAL_ERROR "the duplicate wrote out${f} beside the folder")
  endif()
  execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${WORK_DIR}/original/${f} ${WORK_DIR}/src/${f}
                  RESULT_VARIABLE differs)
  if(differs)
    message(FATAL_ERROR "the original ${f} changed:\n${out}")
  endif()
endforeach()
file(GLOB left ${WORK_DIR}/src/*)
list(LENGTH left n)
if(NOT n EQUAL 3)
  message(FATAL_ERROR "files were added beside the original book: ${left}")
endif()
