# Writes the release's time to OUT: SOURCE_DATE_EPOCH when the environment sets
# it (a build from a tarball), else the time of the commit built. OUT changes
# only with the value, so the package is remade only when the time moves.
# Usage: cmake -DSOURCE_DIR=... -DOUT=... -P SourceDateEpoch.cmake
if(DEFINED ENV{SOURCE_DATE_EPOCH})
  set(epoch "$ENV{SOURCE_DATE_EPOCH}")
else()
  find_program(GIT git)
  if(GIT)
    execute_process(COMMAND ${GIT} -C ${SOURCE_DIR} log -1 --format=%ct
                    OUTPUT_VARIABLE epoch OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
  endif()
endif()
if(NOT epoch MATCHES "^[0-9]+$")
  message(FATAL_ERROR "The release's time comes from git (git log -1 --format=%ct) or from "
                      "SOURCE_DATE_EPOCH (seconds since 1970), and neither gave it.")
endif()
file(CONFIGURE OUTPUT ${OUT} CONTENT "${epoch}\n")
