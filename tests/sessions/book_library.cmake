# The sample book of two chapters: its words are counted (closed chapters opened and closed
# again), it is saved into another folder, and in a second session the copy's cross-reference
# from chapter 2 resolves against the copied chapter 1.
file(REMOVE_RECURSE ${WORK_DIR})
file(MAKE_DIRECTORY ${WORK_DIR}/copy)
file(COPY ${SOURCE_DIR}/samples/book DESTINATION ${WORK_DIR})
file(WRITE ${WORK_DIR}/count.qvs [=[
open book/Manual.book
library BookWordCount
expect-transcript 41 words counted in book.
open book/ch1.fm
open book/ch2.fm
activate ch2.fm
library DocWordCount
expect-transcript library DocWordCount answered 10
library BookSaveAsRenamed copy
expect-transcript library BookSaveAsRenamed answered 0
]=])
execute_process(COMMAND ${QVHOST} --quiet run ${WORK_DIR}/count.qvs
  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "the counting session failed (${rc}): ${err}\n${out}")
endif()
foreach(f Manual.book ch1.fm ch2.fm)
  if(NOT EXISTS ${WORK_DIR}/copy/${f})
    message(FATAL_ERROR "copy/${f} was not saved:\n${out}")
  endif()
endforeach()
file(READ ${WORK_DIR}/copy/Manual.book book)
if(book MATCHES "book[/\\\\]ch")
  message(FATAL_ERROR "the saved book still lists the old chapters:\n${book}")
endif()

# The copy alone: the original folder is gone.
file(REMOVE_RECURSE ${WORK_DIR}/book)
file(WRITE ${WORK_DIR}/reopen.qvs [=[
open copy/Manual.book
open copy/ch1.fm
open copy/ch2.fm
activate ch2.fm
answer alert ok
library XRefSourceFilesLowerCase
expect-transcript library XRefSourceFilesLowerCase answered 1
print tree
]=])
execute_process(COMMAND ${QVHOST} --quiet run ${WORK_DIR}/reopen.qvs
  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "the reopening session failed (${rc}): ${err}\n${out}")
endif()
if(NOT out MATCHES "XRef\n +\"Installing the product\"")
  message(FATAL_ERROR "the cross-reference does not show chapter 1's title:\n${out}")
endif()
