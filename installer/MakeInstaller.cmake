# Runs makensis for the "installer" target; the help file is packed only when the build
# has made it.
set(defines -DVERSION=${VERSION} -DOUTFILE=${OUTFILE} -DEXE=${EXE} -DICON=${ICON} -DLICENSE=${LICENSE})
if(EXISTS "${HELP}")
  list(APPEND defines -DHELP=${HELP})
endif()
execute_process(COMMAND ${MAKENSIS} -V2 -WX -NOCD ${defines} ${SCRIPT} RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "makensis failed (${rc})")
endif()
