# Runs ppd-dump (under the emulator in cross builds) and compares its output
# with an expected dump byte for byte.
#   -DTOOL= -DEMULATOR= -DPPD= -DEXPECTED= -DACTUAL= [-DARGS=a|b]
string(REPLACE "|" ";" ARGS "${ARGS}")
execute_process(COMMAND ${EMULATOR} ${TOOL} ${PPD} ${ARGS}
                OUTPUT_FILE ${ACTUAL} RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "ppd-dump exited with ${status}")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${EXPECTED} ${ACTUAL}
                RESULT_VARIABLE different)
if(different)
  execute_process(COMMAND diff -u ${EXPECTED} ${ACTUAL})
  message(FATAL_ERROR "the dump of ${PPD} differs from ${EXPECTED}")
endif()
