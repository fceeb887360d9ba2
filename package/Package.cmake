# Makes the release from a built Tempik.exe: the program stripped, README.txt
# and LICENSE in DIST_DIR/Tempik-<VERSION>-win64.zip, and SHA256SUMS beside it.
# Every time in it is the one in EPOCH_FILE (see SourceDateEpoch.cmake), so the
# same sources give the same bytes.
# Usage: cmake -DEXE=... -DSTRIP=... -DPYTHON=... -DSOURCE_DIR=... -DSTAGE_DIR=...
#              -DDIST_DIR=... -DVERSION=... -DEPOCH_FILE=... -P Package.cmake
foreach(var EXE STRIP PYTHON SOURCE_DIR STAGE_DIR DIST_DIR VERSION EPOCH_FILE)
  if(NOT ${var})
    message(FATAL_ERROR "Package.cmake needs -D${var}=...")
  endif()
endforeach()

file(STRINGS ${EPOCH_FILE} epoch LIMIT_COUNT 1)

file(REMOVE_RECURSE ${STAGE_DIR})
file(MAKE_DIRECTORY ${STAGE_DIR} ${DIST_DIR})

# The build's -O2 code without its symbols and debug information. strip
# writes a new PE time stamp: the current time unless SOURCE_DATE_EPOCH is set.
execute_process(COMMAND ${CMAKE_COMMAND} -E env SOURCE_DATE_EPOCH=${epoch}
                        ${STRIP} --strip-all -o ${STAGE_DIR}/Tempik.exe ${EXE}
                COMMAND_ERROR_IS_FATAL ANY)

# Windows users read the texts in Notepad: CRLF line ends.
set(PROJECT_VERSION ${VERSION})
configure_file(${SOURCE_DIR}/package/README.txt.in ${STAGE_DIR}/README.txt @ONLY NEWLINE_STYLE CRLF)
configure_file(${SOURCE_DIR}/LICENSE ${STAGE_DIR}/LICENSE @ONLY NEWLINE_STYLE CRLF)

# One release in the folder: a zip of another version would not match SHA256SUMS.
file(GLOB old ${DIST_DIR}/Tempik-*-win64.zip)
if(old)
  file(REMOVE ${old})
endif()
set(zip Tempik-${VERSION}-win64.zip)
# Not cmake -E tar: it stores the files' owners, access and change times, and
# local times.
execute_process(COMMAND ${PYTHON} ${SOURCE_DIR}/package/make_zip.py ${DIST_DIR}/${zip} ${epoch}
                        Tempik.exe README.txt LICENSE
                WORKING_DIRECTORY ${STAGE_DIR}
                COMMAND_ERROR_IS_FATAL ANY)

# The format sha256sum -c reads.
file(SHA256 ${DIST_DIR}/${zip} sum)
file(WRITE ${DIST_DIR}/SHA256SUMS "${sum}  ${zip}\n")
