# Fails when the project version has no release entry in the AppStream
# metainfo, or when a manual page names another version: both are written by
# hand and easily forgotten when the version goes up.
# Arguments: -DVERSION=1.2.3 -DMETAINFO=file -DMAN_PAGES="page.1|page.1"

file(READ ${METAINFO} metainfo)
string(FIND "${metainfo}" "<release version=\"${VERSION}\"" position)
if(position EQUAL -1)
  message(FATAL_ERROR "${METAINFO} has no <release version=\"${VERSION}\">")
endif()

string(REPLACE "|" ";" pages "${MAN_PAGES}")
foreach(page IN LISTS pages)
  file(STRINGS ${page} header REGEX "^\\.TH ")
  if(NOT header MATCHES "\"Velmora Arudha Lagna ${VERSION}\"")
    message(FATAL_ERROR "${page}: the .TH line does not name version ${VERSION}: ${header}")
  endif()
endforeach()
