# Checks the external libraries before any target is defined, so that a missing one is
# a configure error naming what provides it instead of a target left out or a failed link.
# Natively they come from Debian's packages; for Windows from mingw-w64's packages and
# from the static libraries that scripts/setup cross-builds into ${MERO_DEPS_DIR}/win.

option(MERO_STATIC_PNG "Linux: link libpng and zlib statically from ${MERO_DEPS_DIR}/linux (the release module)" OFF)

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
elseif(MERO_STATIC_PNG)
  # The release module needs no libpng or zlib at run time: it links the static
  # position-independent archives that scripts/setup builds.
  set(static_png_dir ${MERO_DEPS_DIR}/linux)
  if(NOT EXISTS ${static_png_dir}/lib/libpng16.a OR NOT EXISTS ${static_png_dir}/lib/libz.a
     OR NOT EXISTS ${static_png_dir}/include/png.h)
    message(FATAL_ERROR "MERO_STATIC_PNG: static libpng and zlib missing from ${static_png_dir}: run scripts/setup")
  endif()
  add_library(mero_static_png INTERFACE)
  target_include_directories(mero_static_png SYSTEM INTERFACE ${static_png_dir}/include)
  target_link_libraries(mero_static_png INTERFACE ${static_png_dir}/lib/libpng16.a ${static_png_dir}/lib/libz.a m)
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
