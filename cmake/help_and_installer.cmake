# The suite's help file, compiled from help/ with chmcmd, and the installer, made with
# makensis. Both land beside scribane.exe (the installer in dist/); a build without the
# tools skips them.

find_program(CHMCMD chmcmd)
find_program(MAKENSIS makensis)

set(HELP_SOURCES
  help/Vellumdoc.hhp help/index.htm help/toc.hhc help/index.hhk help/style.css
  help/INF/QuickStart.htm help/INF/FileTypes.htm help/INF/Keys.htm)
list(TRANSFORM HELP_SOURCES PREPEND ${CMAKE_SOURCE_DIR}/)
set(HELP_FILE ${CMAKE_BINARY_DIR}/Vellumdoc.chm)

if(CHMCMD)
  add_custom_command(
    OUTPUT ${HELP_FILE}
    COMMAND ${CMAKE_COMMAND} -E rm -rf ${CMAKE_BINARY_DIR}/help
    COMMAND ${CMAKE_COMMAND} -E copy_directory ${CMAKE_SOURCE_DIR}/help ${CMAKE_BINARY_DIR}/help
    COMMAND ${CMAKE_COMMAND} -E chdir ${CMAKE_BINARY_DIR}/help ${CHMCMD} --verbosity 0 Vellumdoc.hhp > chmcmd.log 2>&1
    COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_BINARY_DIR}/help/Vellumdoc.chm ${HELP_FILE}
    DEPENDS ${HELP_SOURCES}
    COMMENT "Compiling the help file Vellumdoc.chm")
  add_custom_target(help_file ALL DEPENDS ${HELP_FILE})
endif()

if(WIN32 AND CHMCMD AND MAKENSIS)
  if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(NSIS_TARGET amd64-unicode)
  else()
    set(NSIS_TARGET x86-unicode)
  endif()
  set(INSTALLER ${CMAKE_BINARY_DIR}/dist/scribane-${PROJECT_VERSION}-setup.exe)
  add_custom_command(
    OUTPUT ${INSTALLER}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/dist
    COMMAND ${MAKENSIS} -V2 -DTARGET=${NSIS_TARGET} -DVERSION=${PROJECT_VERSION}
            -DPROGRAM_EXE=$<TARGET_FILE:scribane> -DHELP_FILE=${HELP_FILE}
            -DOUTFILE=${INSTALLER} ${CMAKE_SOURCE_DIR}/installer/scribane.nsi > makensis.log
    DEPENDS scribane ${HELP_FILE} ${CMAKE_SOURCE_DIR}/installer/scribane.nsi
    COMMENT "Making the installer")
  add_custom_target(installer ALL DEPENDS ${INSTALLER})
endif()
