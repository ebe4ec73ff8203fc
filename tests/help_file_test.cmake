# The compiled help file holds the topics the editor opens, under the names it asks for.
# cmake -DCHM=path/Vellumdoc.chm -DSEVEN_ZIP=7z -P help_file_test.cmake
execute_process(COMMAND ${SEVEN_ZIP} l -slt ${CHM} OUTPUT_VARIABLE listing)
foreach(topic "index.htm" "INF/QuickStart.htm" "INF/FileTypes.htm" "INF/Keys.htm" "#SYSTEM")
  string(FIND "${listing}" "Path = ${topic}\n" found)
  if(found EQUAL -1)
    message(FATAL_ERROR "the help file has no \"${topic}\"")
  endif()
endforeach()
