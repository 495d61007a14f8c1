# Makes the Linux renders that the Windows build's render tests compare with.
# cmake -DRENDER=<native mero-render> -DDIR=<folder> -DSETTINGS="NAME=VALUE ..." -P LinuxReference.cmake
# input.wav is the demo signal; linux-default.wav renders it with the defaults,
# linux-driven.wav with SETTINGS and blocks of 100 frames.
if(NOT EXISTS "${RENDER}")
  message(FATAL_ERROR "no native mero-render at ${RENDER}: build the native tree first "
                      "(or point MERO_PEER_BUILD_DIR at it)")
endif()
file(REMOVE_RECURSE "${DIR}")
file(MAKE_DIRECTORY "${DIR}")

function(render)
  execute_process(COMMAND "${RENDER}" ${ARGN} RESULT_VARIABLE status ERROR_VARIABLE errors)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "mero-render ${ARGN} failed (${status}): ${errors}")
  endif()
endfunction()

separate_arguments(settings UNIX_COMMAND "${SETTINGS}")
set(driven --block 100)
foreach(s IN LISTS settings)
  list(APPEND driven --set ${s})
endforeach()
render(--out "${DIR}/input.wav" --set Bypas=1)
render(--in "${DIR}/input.wav" --out "${DIR}/linux-default.wav")
render(--in "${DIR}/input.wav" --out "${DIR}/linux-driven.wav" ${driven})
