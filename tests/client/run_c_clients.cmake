# Installs the library into a fresh prefix and builds two C programs with the C compiler
# alone, outside this project: dynamic_client.c, linked to nothing of the library, which
# loads the DLL by name only and checks every export against c_api_answers.tsv, and the C89
# sample docs/examples/c/sample.c, linked through the MSVC-style quendel_time.lib, whose
# output must be c_api_sample_output.txt.
file(REMOVE_RECURSE ${WORK_DIR})
function(run)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
  if(rc)
    message(FATAL_ERROR "${ARGN}\nfailed (${rc}):\n${out}")
  endif()
  set(out "${out}" PARENT_SCOPE)
endfunction()
run(${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${WORK_DIR}/prefix)
set(warnings -Wall -Wextra -Werror -I${WORK_DIR}/prefix/include)
run(${CC} -std=c99 ${warnings} ${SOURCE_DIR}/tests/client/c_api/dynamic_client.c -o ${WORK_DIR}/dynamic_client.exe)
run(${CC} -std=c89 -pedantic ${warnings} ${SOURCE_DIR}/docs/examples/c/sample.c ${WORK_DIR}/prefix/lib/quendel_time.lib
    -o ${WORK_DIR}/sample.exe)
file(COPY ${WORK_DIR}/prefix/bin/quendel_time.dll DESTINATION ${WORK_DIR})
run(${LAUNCHER} ${WORK_DIR}/dynamic_client.exe Z:${SOURCE_DIR}/tests/data/c_api_answers.tsv
    Z:${SOURCE_DIR}/tests/data/stamp_answers.tsv ${VERSION_NUMBER})
message(STATUS "${out}")
run(${LAUNCHER} ${WORK_DIR}/sample.exe)
file(READ ${SOURCE_DIR}/tests/data/c_api_sample_output.txt expected)
string(REPLACE "\r\n" "\n" out "${out}")
if(NOT out STREQUAL expected)
  message(FATAL_ERROR "sample.exe printed\n${out}\ninstead of\n${expected}")
endif()
