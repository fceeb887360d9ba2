# Makes the release from a built Tempik.exe: the program stripped, README.txt
# and LICENSE in DIST_DIR/Tempik-<VERSION>-win64.zip, and SHA256SUMS beside it.
# Usage: cmake -DEXE=... -DSTRIP=... -DSOURCE_DIR=... -DSTAGE_DIR=... -DDIST_DIR=...
#              -DVERSION=... -P Package.cmake
foreach(var EXE STRIP SOURCE_DIR STAGE_DIR DIST_DIR VERSION)
  if(NOT ${var})
    message(FATAL_ERROR "Package.cmake needs -D${var}=...")
  endif()
endforeach()

file(REMOVE_RECURSE ${STAGE_DIR})
file(MAKE_DIRECTORY ${STAGE_DIR} ${DIST_DIR})

# The build's -O2 code without its symbols and debug information.
execute_process(COMMAND ${STRIP} --strip-all -o ${STAGE_DIR}/Tempik.exe ${EXE}
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
execute_process(COMMAND ${CMAKE_COMMAND} -E tar cf ${DIST_DIR}/${zip} --format=zip
                        Tempik.exe README.txt LICENSE
                WORKING_DIRECTORY ${STAGE_DIR}
                COMMAND_ERROR_IS_FATAL ANY)

# The format sha256sum -c reads.
file(SHA256 ${DIST_DIR}/${zip} sum)
file(WRITE ${DIST_DIR}/SHA256SUMS "${sum}  ${zip}\n")
