# Makes the Windows packages from the built program: a zip and an NSIS installer.
# cmake -DSTAGE=... -DBIN=... -DVERSION=... -DZIP=... -DSETUP=... -DSOURCE=... -DSTRIP=...
#       -P package.cmake
cmake_policy(SET CMP0053 NEW)
file(REMOVE_RECURSE ${STAGE})
file(MAKE_DIRECTORY ${STAGE})
file(COPY ${BIN}/veltaro.exe ${BIN}/veltaro-cli.exe ${BIN}/brenlow.dll DESTINATION ${STAGE})
# What ships carries no debugging information.
execute_process(COMMAND ${STRIP} --strip-debug ${STAGE}/veltaro.exe ${STAGE}/veltaro-cli.exe
                        ${STAGE}/brenlow.dll
                RESULT_VARIABLE stripped)
if(NOT stripped EQUAL 0)
    message(FATAL_ERROR "strip failed: ${stripped}")
endif()
file(READ ${SOURCE}/README.txt readme)
string(CONFIGURE "${readme}" readme @ONLY)
string(REPLACE "\n" "\r\n" readme "${readme}")  # Notepad of old wants CR LF
file(WRITE ${STAGE}/README.txt "${readme}")

file(REMOVE ${ZIP})
execute_process(COMMAND zip -q -j -X ${ZIP} ${STAGE}/veltaro.exe ${STAGE}/veltaro-cli.exe
                        ${STAGE}/brenlow.dll
                        ${STAGE}/README.txt
                RESULT_VARIABLE zipped)
if(NOT zipped EQUAL 0)
    message(FATAL_ERROR "zip failed: ${zipped}")
endif()
execute_process(COMMAND makensis -V2 -DVERSION=${VERSION} -DSTAGE=${STAGE} -DOUTFILE=${SETUP}
                        ${SOURCE}/veltaro.nsi
                RESULT_VARIABLE built)
if(NOT built EQUAL 0)
    message(FATAL_ERROR "makensis failed: ${built}")
endif()
