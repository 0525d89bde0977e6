# Both modules export the scripting engine's functions under their exact names.
foreach(module Quorvane_FM2020 Quorvane_FM2019)
  execute_process(COMMAND nm -D --defined-only ${BIN_DIR}/${module}.so
    RESULT_VARIABLE rc OUTPUT_VARIABLE symbols ERROR_VARIABLE err)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "nm failed on ${module}: ${err}")
  endif()
  foreach(name ESInitialize ESTerminate ESGetVersion ESFreeMem getScriptParm setScriptParm
          makeArrayZZZZZZZZZZZZZZZZZ getAverageZZZZZZZZZZZZZZZZZZZZZZZZ appendStringZZZZZZZZZZZZZZZZZZZZZ
          myScriptZZZZZZZZZZZZZZZZZZZZZZZ acceptBooleanZZZZZZZZZZZZZZZZZZZZZZ)
    if(NOT symbols MATCHES " T ${name}\n")
      message(FATAL_ERROR "${module} does not export ${name}")
    endif()
  endforeach()
endforeach()
