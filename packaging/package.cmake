# Packs an installed build into quendel-<version>-<arch>.zip and, with makensis, the
# installer quendel-<version>-setup-<arch>.exe, both in OUT_DIR.
# Without MAKENSIS (empty or not found) only the ZIP is made.
foreach(var BUILD_DIR SOURCE_DIR VERSION ARCH NSIS_CONFIG OUT_DIR ZIP)
  if(NOT ${var})
    message(FATAL_ERROR "package.cmake needs -D${var}=")
  endif()
endforeach()

function(run)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
  if(rc)
    message(FATAL_ERROR "${ARGN}\nfailed (${rc}):\n${out}")
  endif()
endfunction()

set(name quendel-${VERSION}-${ARCH})
set(work ${OUT_DIR}/work-${ARCH})
file(REMOVE_RECURSE ${work})
run(${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${work}/install)

# The ZIP is flat: a user unpacks it and starts quendel.exe; a programmer finds the DLL,
# its import libraries (libquendel_time.dll.a for MinGW, quendel_time.lib for MSVC and other
# compilers) and include/ beside it.
set(zipdir ${work}/${name})
file(MAKE_DIRECTORY ${zipdir})
file(COPY ${work}/install/bin/quendel.exe ${work}/install/bin/quendel_time.dll
          ${work}/install/lib/libquendel_time.dll.a ${work}/install/lib/quendel_time.lib ${work}/install/include
          ${SOURCE_DIR}/README.md ${SOURCE_DIR}/LICENSE
     DESTINATION ${zipdir})
file(REMOVE ${OUT_DIR}/${name}.zip)
# -X: no Unix owners or times beyond the plain ones, so the archive is the same on every run.
run(${CMAKE_COMMAND} -E chdir ${work} ${ZIP} -q -r -X ${OUT_DIR}/${name}.zip ${name})

if(MAKENSIS)
  set(setup ${OUT_DIR}/quendel-${VERSION}-setup-${ARCH}.exe)
  file(REMOVE ${setup})
  run(${MAKENSIS} -V2 -DQUENDEL_CONFIG=${NSIS_CONFIG} -DSTAGE_DIR=${zipdir} -DOUT_FILE=${setup}
      ${SOURCE_DIR}/packaging/quendel.nsi)
endif()
file(REMOVE_RECURSE ${work})
