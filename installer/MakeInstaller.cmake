# Runs makensis for the "installer" target.
execute_process(COMMAND ${MAKENSIS} -V2 -WX -NOCD -DVERSION=${VERSION} -DOUTFILE=${OUTFILE}
                        -DEXE=${EXE} -DICON=${ICON} -DLICENSE=${LICENSE} -DHELP=${HELP} ${SCRIPT}
                RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "makensis failed (${rc})")
endif()
