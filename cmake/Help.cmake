# The program's help: the help file compiled from help/ into bin/HelpDocs.
#
# Included by the top CMakeLists. The same file also runs as a script (cmake -P) to compile
# the help file, so that a broken link or a missing page stops the build instead of reaching
# the user.

if(CMAKE_SCRIPT_MODE_FILE)
  # Script mode: -DCHMCMD=<compiler> -DSRC=<help sources> -DWORK=<scratch> -DOUT=<chm file>
  file(REMOVE_RECURSE "${WORK}")
  file(COPY "${SRC}/" DESTINATION "${WORK}")
  file(GLOB projects "${WORK}/*.hhp")
  list(LENGTH projects count)
  if(NOT count EQUAL 1)
    message(FATAL_ERROR "help/ must hold exactly one .hhp project")
  endif()
  execute_process(COMMAND "${CHMCMD}" --html-scan "${projects}"
                  WORKING_DIRECTORY "${WORK}"
                  RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
  # The compiler reports broken anchors and missing files as "Error:" but still succeeds.
  string(REGEX MATCHALL "(Error|Warning)[^\n]*" problems "${output}")
  if(NOT result EQUAL 0 OR problems)
    message(FATAL_ERROR "Compiling the help file failed:\n${output}")
  endif()
  file(GLOB compiled "${WORK}/*.chm")
  if(NOT compiled)
    message(FATAL_ERROR "The help compiler wrote no help file:\n${output}")
  endif()
  get_filename_component(out_dir "${OUT}" DIRECTORY)
  file(MAKE_DIRECTORY "${out_dir}")
  file(COPY_FILE "${compiled}" "${OUT}")
  return()
endif()

# The help file, compiled with chmcmd.
find_program(CHMCMD_EXECUTABLE NAMES chmcmd chmcmd-3.2.2)
set(HELP_FILE ${CMAKE_BINARY_DIR}/bin/HelpDocs/HELP-Fendrel.chm)
file(GLOB_RECURSE help_pages CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/help/*)
if(CHMCMD_EXECUTABLE)
  add_custom_command(OUTPUT ${HELP_FILE}
    COMMAND ${CMAKE_COMMAND} -DCHMCMD=${CHMCMD_EXECUTABLE} -DSRC=${CMAKE_SOURCE_DIR}/help
            -DWORK=${CMAKE_BINARY_DIR}/help-build -DOUT=${HELP_FILE}
            -P ${CMAKE_CURRENT_LIST_FILE}
    DEPENDS ${help_pages} ${CMAKE_CURRENT_LIST_FILE}
    COMMENT "Compiling the help file"
    VERBATIM)
  add_custom_target(help_file ALL DEPENDS ${HELP_FILE})
  # Everything that shows help (the program, its window tests, the screenshots) needs the file.
  add_dependencies(fendrel_gui help_file)
else()
  message(WARNING "chmcmd was not found, so the help file is not built: run tools/setup.sh")
endif()
