# Runs lupdate over the sources into a copy of every translations/*.ts, as the update_translations
# target does, and fails when it would add an entry (a text without a translation), keep one the
# sources no longer have, or warns about a text it cannot read.
#   cmake -DLUPDATE=<lupdate> -DSOURCE_DIR=<project> -DWORK_DIR=<scratch> -P check_lupdate.cmake

file(GLOB ts_files ${SOURCE_DIR}/translations/*.ts)
if(NOT ts_files)
  message(FATAL_ERROR "no translations in ${SOURCE_DIR}/translations")
endif()
file(REMOVE_RECURSE ${WORK_DIR})
file(MAKE_DIRECTORY ${WORK_DIR})

set(failed FALSE)
foreach(ts IN LISTS ts_files)
  get_filename_component(name ${ts} NAME)
  file(COPY ${ts} DESTINATION ${WORK_DIR})
  execute_process(
    COMMAND ${LUPDATE} -locations none ${SOURCE_DIR}/src/shell ${SOURCE_DIR}/src/export
            -I ${SOURCE_DIR}/src -ts ${WORK_DIR}/${name}
    RESULT_VARIABLE result
    OUTPUT_VARIABLE output
    ERROR_VARIABLE errors)
  if(NOT result EQUAL 0)
    message(SEND_ERROR "lupdate failed on ${name}:\n${output}${errors}")
    set(failed TRUE)
    continue()
  endif()
  # Everything lupdate has to say besides its progress is a text it could not read.
  string(REGEX REPLACE "(Scanning directory|Updating|    )[^\n]*\n" "" warnings
                       "${output}${errors}")
  if(NOT warnings STREQUAL "")
    message(SEND_ERROR "lupdate warns about the sources of ${name}:\n${warnings}")
    set(failed TRUE)
  endif()
  file(READ ${WORK_DIR}/${name} text)
  string(REGEX MATCHALL "<source>[^<]*</source>[ \n]*<translation type=\"[a-z]+\""
                        open_entries "${text}")
  foreach(entry IN LISTS open_entries)
    string(REGEX REPLACE "<source>([^<]*)</source>[ \n]*<translation type=\"([a-z]+)\"" "\\2: \\1"
                         entry "${entry}")
    message(SEND_ERROR "${name}: ${entry}")
    set(failed TRUE)
  endforeach()
endforeach()
if(failed)
  message(FATAL_ERROR
    "The translations do not match the sources: run the update_translations target, then "
    "translate the new texts and remove the vanished ones in translations/*.ts.")
endif()
