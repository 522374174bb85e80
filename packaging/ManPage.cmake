# Writes a program's manual page from its own help (PROGRAM --man) and compresses it as Debian
# wants it: at gzip's best, without the file's name and time, so that every build gives the
# same bytes.
execute_process(COMMAND ${PROGRAM} --man OUTPUT_FILE ${OUTPUT} RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "${PROGRAM} --man failed: ${result}")
endif()
execute_process(COMMAND gzip -9nf ${OUTPUT} RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "gzip ${OUTPUT} failed: ${result}")
endif()
