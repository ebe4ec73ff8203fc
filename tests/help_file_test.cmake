# Checks that the compiled help file holds the topics the editor opens, under the
# exact names it asks for: the default page and "INF/QuickStart.htm".
# cmake -DCHM=path/Vellumdoc.chm -DSEVEN_ZIP=7z -P help_file_test.cmake
execute_process(COMMAND ${SEVEN_ZIP} l -slt ${CHM} OUTPUT_VARIABLE listing RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "7z could not read ${CHM}")
endif()
foreach(topic "index.htm" "INF/QuickStart.htm" "INF/FileTypes.htm" "INF/Keys.htm" "#SYSTEM" "#TOPICS")
  string(FIND "${listing}" "Path = ${topic}\n" found)
  if(found EQUAL -1)
    message(FATAL_ERROR "the help file has no \"${topic}\"")
  endif()
endforeach()
# The default page is the one the help viewer opens without a topic.
file(READ ${CHM} bytes HEX)
string(HEX "index.htm" wanted)
string(FIND "${bytes}" "${wanted}" found)
if(found EQUAL -1)
  message(FATAL_ERROR "the help file names no default page")
endif()
message(STATUS "help file holds its topics")
