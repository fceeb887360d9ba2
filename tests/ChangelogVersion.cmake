# Fails unless CHANGELOG's newest version section, "## [x.y] - YYYY-MM-DD",
# is VERSION: a release whose changelog forgot it, or a bump that forgot the
# changelog. An "Unreleased" section above it is allowed.
# Usage: cmake -DCHANGELOG=... -DVERSION=... -P ChangelogVersion.cmake
file(STRINGS ${CHANGELOG} headings REGEX "^## ")
set(newest "")
foreach(heading IN LISTS headings)
  if(NOT heading MATCHES "^## \\[Unreleased\\]")
    set(newest "${heading}")
    break()
  endif()
endforeach()
if(NOT newest MATCHES "^## \\[([0-9.]+)\\] - [0-9][0-9][0-9][0-9]-[0-1][0-9]-[0-3][0-9]$")
  message(FATAL_ERROR "${CHANGELOG}: the newest section is \"${newest}\", not \"## [x.y] - YYYY-MM-DD\"")
endif()
if(NOT CMAKE_MATCH_1 STREQUAL VERSION)
  message(FATAL_ERROR "${CHANGELOG}: the newest section is ${CMAKE_MATCH_1}, the project's version ${VERSION}")
endif()
