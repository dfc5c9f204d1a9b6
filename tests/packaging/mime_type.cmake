# Builds a MIME database from the package's birth-file type alone, as
# update-mime-database does on installation, and fails when the type does not
# come out of it with its glob and magic, or when the desktop entry does not
# name that type.
# Arguments: -DUPDATE_MIME_DATABASE=program -DMIME_XML=file -DDESKTOP=file -DWORK=folder

file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK}/packages)
file(COPY ${MIME_XML} DESTINATION ${WORK}/packages)
execute_process(COMMAND ${UPDATE_MIME_DATABASE} -V ${WORK} RESULT_VARIABLE result OUTPUT_VARIABLE out
                ERROR_VARIABLE err)
if(NOT result EQUAL 0 OR err MATCHES "[Ww]arning|[Ee]rror")
  message(FATAL_ERROR "update-mime-database refused ${MIME_XML} (${result}):\n${out}${err}")
endif()

set(type "application/x-velmora-birth")
# Fails unless the database file named holds the pattern.
function(expect_in name pattern what)
  file(READ ${WORK}/${name} text)
  if(NOT text MATCHES "${pattern}")
    message(FATAL_ERROR "${what} (${name}):\n${text}")
  endif()
endfunction()
expect_in(globs2 "${type}:\\*\\.vbirth\n" "no *.vbirth glob for ${type}")
expect_in(types "${type}" "${type} is not among the types")
expect_in(subclasses "${type} application/json" "${type} is not a kind of application/json")
file(READ ${WORK}/magic magic HEX)
string(HEX "velmora-birth" wanted)
string(FIND "${magic}" "${wanted}" position)
if(position EQUAL -1)
  message(FATAL_ERROR "the magic of ${type} does not look for \"velmora-birth\"")
endif()

file(STRINGS ${DESKTOP} mime_line REGEX "^MimeType=")
if(NOT mime_line MATCHES "^MimeType=(.*;)?${type}")
  message(FATAL_ERROR "${DESKTOP} does not name ${type}: ${mime_line}")
endif()
file(STRINGS ${DESKTOP} exec_line REGEX "^Exec=")
if(NOT exec_line MATCHES " %f$")
  message(FATAL_ERROR "${DESKTOP} does not pass the file: ${exec_line}")
endif()
