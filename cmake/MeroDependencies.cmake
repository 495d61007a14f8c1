# Checks the external libraries before any target is defined, so that a missing one is
# a configure error naming what provides it instead of a target left out or a failed link.
# Natively they come from Debian's packages; for Windows from mingw-w64's packages and
# from the static libraries that scripts/setup cross-builds into ${MERO_DEPS_DIR}/win.

if(WIN32)
  set(mingw_zlib /usr/x86_64-w64-mingw32/lib/libz.a)
  if(NOT EXISTS ${mingw_zlib})
    message(FATAL_ERROR "zlib for mingw-w64 missing (${mingw_zlib}): install the package libz-mingw-w64-dev")
  endif()
  set(cross_built)
  foreach(lib png16 sndfile)
    if(NOT EXISTS ${MERO_DEPS_DIR}/win/lib/lib${lib}.a)
      list(APPEND cross_built lib${lib}.a)
    endif()
  endforeach()
  if(cross_built)
    message(FATAL_ERROR "cross-built Windows libraries missing from ${MERO_DEPS_DIR}/win/lib "
                        "(${cross_built}): run scripts/setup")
  endif()
else()
  find_package(PNG QUIET)
  if(NOT PNG_FOUND)
    message(FATAL_ERROR "libpng missing: install the package libpng-dev")
  endif()
endif()

find_path(MERO_SNDFILE_INCLUDE_DIR sndfile.h)
find_library(MERO_SNDFILE_LIBRARY sndfile)
if(NOT MERO_SNDFILE_INCLUDE_DIR OR NOT MERO_SNDFILE_LIBRARY)
  if(WIN32)
    message(FATAL_ERROR "libsndfile for Windows missing from ${MERO_DEPS_DIR}/win: run scripts/setup")
  else()
    message(FATAL_ERROR "libsndfile missing: install the package libsndfile1-dev")
  endif()
endif()
