# Builds the font a second time and compares it with the first build, byte for byte.
# Variables: PYTHON, SCRIPT, ARGS (a list), EXPECTED, OUTPUT.
execute_process(COMMAND ${PYTHON} ${SCRIPT} ${ARGS} --output ${OUTPUT}
  RESULT_VARIABLE result ERROR_VARIABLE errors OUTPUT_QUIET)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "font build failed (${result}):\n${errors}")
endif()
if(errors MATCHES "warning: advances differ")
  message(FATAL_ERROR "the metrics table is out of date:\n${errors}")
endif()
file(SHA256 ${EXPECTED} expected_hash)
file(SHA256 ${OUTPUT} output_hash)
if(NOT expected_hash STREQUAL output_hash)
  message(FATAL_ERROR "two builds of the font differ: ${EXPECTED} and ${OUTPUT}")
endif()
message(STATUS "Veltrimond.ttf builds reproducibly (${output_hash})")
