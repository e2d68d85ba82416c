# Installs the library into a fresh prefix, builds a separate program (PROGRAM) against nothing
# but the installed headers and import library, and runs it beside the installed DLL (PROGRAM:
# one name, or several joined by "+").
file(REMOVE_RECURSE ${WORK_DIR})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${WORK_DIR}/prefix OUTPUT_QUIET
                COMMAND_ERROR_IS_FATAL ANY)
execute_process(COMMAND ${CMAKE_COMMAND} -S ${SOURCE_DIR} -B ${WORK_DIR}/build -G Ninja
                        -DCMAKE_TOOLCHAIN_FILE=${TOOLCHAIN} -DQUENDEL_PREFIX=${WORK_DIR}/prefix
                OUTPUT_QUIET COMMAND_ERROR_IS_FATAL ANY)
execute_process(COMMAND ${CMAKE_COMMAND} --build ${WORK_DIR}/build OUTPUT_QUIET COMMAND_ERROR_IS_FATAL ANY)
file(COPY ${WORK_DIR}/prefix/bin/quendel_time.dll DESTINATION ${WORK_DIR}/build)
string(REPLACE "+" ";" PROGRAMS "${PROGRAM}")  # several, joined by "+"
foreach(program IN LISTS PROGRAMS)
  execute_process(COMMAND ${LAUNCHER} ${WORK_DIR}/build/${program}.exe COMMAND_ERROR_IS_FATAL ANY)
endforeach()
