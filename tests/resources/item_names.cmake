# The resource compiler gives the items its list names their numbers in the generated header, and
# refuses a list that names an item before its resource's namespace, names one twice, or names an
# item of another kind.
file(MAKE_DIRECTORY ${WORK_DIR})
set(dlg ${SOURCE_DIR}/resources/om_Dialog_DDown.dlg)
set(space "namespace om_Dialog_DDown DDownItem\n")
# Each case: its name, the list, and the text the header must hold ("" where the list is refused).
set(cases
  "named|${space}om_Dialog_DDown 2 textbox Text\nom_Dialog_DDown 4 button Ok\nom_Dialog_DDown 5 button\n|Text = 2,"
  "before its namespace|om_Dialog_DDown 2 textbox Text\n${space}|"
  "a name twice|${space}om_Dialog_DDown 2 textbox Text\nom_Dialog_DDown 4 button Text\n|"
  "a number twice|${space}om_Dialog_DDown 4 button Ok\nom_Dialog_DDown 4 button Done\n|"
  "another kind|${space}om_Dialog_DDown 2 button Text\n|")
foreach(case IN LISTS cases)
  string(REPLACE "|" ";" parts "${case}")
  list(GET parts 0 name)
  list(GET parts 1 list)
  list(LENGTH parts n)
  set(expect "")
  if(n GREATER 2)
    list(GET parts 2 expect)
  endif()
  file(WRITE ${WORK_DIR}/required.txt "${list}")
  file(REMOVE ${WORK_DIR}/items.h)
  execute_process(COMMAND ${RESCOMP} ${WORK_DIR}/resources.cpp ${WORK_DIR}/items.h ${WORK_DIR}/required.txt ${dlg}
    RESULT_VARIABLE rc ERROR_VARIABLE err)
  if(expect STREQUAL "")
    if(rc EQUAL 0)
      message(FATAL_ERROR "${name}: the list was taken")
    endif()
  else()
    if(NOT rc EQUAL 0)
      message(FATAL_ERROR "${name}: refused (${rc}): ${err}")
    endif()
    file(READ ${WORK_DIR}/items.h header)
    if(NOT header MATCHES "namespace DDownItem" OR NOT header MATCHES "${expect}" OR NOT header MATCHES "Ok = 4,"
       OR header MATCHES "= 5,")
      message(FATAL_ERROR "${name}: the header lacks the named items or names an unnamed one:\n${header}")
    endif()
  endif()
endforeach()
