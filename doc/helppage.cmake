# cmake -DPROGRAM=<exe> -DTEMPLATE=<page.in> -DOUTPUT=<page> -DVERSION=<v> -P helppage.cmake
# Fills a man page template with the program's own --help text, so the
# page lists exactly what the program accepts.
execute_process(COMMAND ${PROGRAM} --help OUTPUT_VARIABLE HELP RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "${PROGRAM} --help failed: ${rc}")
endif()
string(REPLACE "\\" "\\e" HELP "${HELP}")
string(REPLACE "-" "\\-" HELP "${HELP}")
string(REGEX REPLACE "(^|\n)([.'])" "\\1\\\\&\\2" HELP "${HELP}")
configure_file(${TEMPLATE} ${OUTPUT} @ONLY)
