# Fails when the command-line tool links Qt Widgets: it paints its PDF
# through the report layer (Qt Gui) only.
cmake_minimum_required(VERSION 3.22)
execute_process(COMMAND ldd "${TOOL}" OUTPUT_VARIABLE libraries RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "ldd could not read ${TOOL}")
endif()
if(libraries MATCHES "libQt6Widgets")
  message(FATAL_ERROR "The tool links Qt Widgets:\n${libraries}")
endif()
message(STATUS "The tool links no widgets.")
