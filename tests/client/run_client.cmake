# Installs the library into a fresh prefix, builds a separate program against nothing but
# the installed headers and import library, and runs it beside the installed DLL.
# PROGRAM names the program the project builds (client unless given).
if(NOT PROGRAM)
  set(PROGRAM client)
endif()
file(REMOVE_RECURSE ${WORK_DIR})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${WORK_DIR}/prefix
                RESULT_VARIABLE rc OUTPUT_QUIET)
if(rc)
  message(FATAL_ERROR "install failed: ${rc}")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} -S ${SOURCE_DIR} -B ${WORK_DIR}/build -G Ninja
                        -DCMAKE_TOOLCHAIN_FILE=${TOOLCHAIN} -DQUENDEL_PREFIX=${WORK_DIR}/prefix
                RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
if(rc)
  message(FATAL_ERROR "configure failed: ${out}")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} --build ${WORK_DIR}/build RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
if(rc)
  message(FATAL_ERROR "build failed: ${out}")
endif()
file(COPY ${WORK_DIR}/prefix/bin/quendel_time.dll DESTINATION ${WORK_DIR}/build)
execute_process(COMMAND ${LAUNCHER} ${WORK_DIR}/build/${PROGRAM}.exe RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
message("${out}")
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "${PROGRAM} failed: ${rc}")
endif()
