# Run at build time: quonfel(6) from its template, with the list of settings that PROGRAM
# prints from the game's table in place of @SETTINGS@. Expects PROGRAM, TEMPLATE, VERSION and
# OUTPUT to be set.
execute_process(COMMAND "${PROGRAM}" OUTPUT_VARIABLE SETTINGS RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "${PROGRAM} failed: ${failed}")
endif()
string(STRIP "${SETTINGS}" SETTINGS)
configure_file("${TEMPLATE}" "${OUTPUT}" @ONLY)
# configure_file leaves an unchanged page as it was; newer than what it is made from, it is not
# made again by every build.
file(TOUCH "${OUTPUT}")
