# The PNG images a resource script lists (lines "<ID macro> PNG \"<file>\""), turned
# into a C++ table of their bytes under the same IDs (EmbeddedImages.h), for platforms
# without module resources.
#
# Included: mero_embed_images(<target> <resource script> <ID header>) adds the
# generated source to the target; it is made again whenever the script, the header
# or one of the images changes. mero_read_image_list gives the script's images (for
# the dependencies of a module that carries them as resources).
# As a script (cmake -P): -DRC_FILE=<script> -DID_HEADER=<header> -DOUTPUT=<source>
# writes the source.

# The (ID macro, file path) pairs of the script, as two lists.
function(mero_read_image_list rc_file out_ids out_files)
  file(STRINGS ${rc_file} lines REGEX "^[A-Za-z_][A-Za-z0-9_]*[ \t]+PNG[ \t]+\"[^\"]+\"")
  get_filename_component(rc_dir ${rc_file} DIRECTORY)
  set(ids)
  set(files)
  foreach(line IN LISTS lines)
    string(REGEX MATCH "^([A-Za-z_][A-Za-z0-9_]*)[ \t]+PNG[ \t]+\"([^\"]+)\"" _ "${line}")
    list(APPEND ids ${CMAKE_MATCH_1})
    list(APPEND files ${rc_dir}/${CMAKE_MATCH_2})
  endforeach()
  set(${out_ids} ${ids} PARENT_SCOPE)
  set(${out_files} ${files} PARENT_SCOPE)
endfunction()

if(CMAKE_SCRIPT_MODE_FILE)
  mero_read_image_list(${RC_FILE} ids files)
  get_filename_component(header ${ID_HEADER} NAME)
  set(text "// Generated from ${RC_FILE} by cmake/EmbedImages.cmake; do not edit.\n")
  string(APPEND text "#include \"EmbeddedImages.h\"\n#include \"${header}\"\n\nnamespace\n{\n")
  set(table "")
  list(LENGTH ids count)
  if(count GREATER 0)
    math(EXPR last "${count} - 1")
    foreach(i RANGE ${last})
      list(GET ids ${i} id)
      list(GET files ${i} path)
      file(READ ${path} hex HEX)
      string(LENGTH "${hex}" digits)
      math(EXPR size "${digits} / 2")
      string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
      string(REGEX REPLACE "(0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,)" "\\1\n"
             bytes "${bytes}")
      string(APPEND text "const unsigned char kImage${i}[] = {\n${bytes}};\n")
      string(APPEND table "  {${id}, kImage${i}, ${size}},\n")
    endforeach()
  endif()
  string(APPEND text "}  // namespace\n\nextern const EmbeddedImage kEmbeddedImageTable[];\n")
  string(APPEND text "extern const int kEmbeddedImageCount;\n")
  if(count GREATER 0)
    string(APPEND text "const EmbeddedImage kEmbeddedImageTable[] = {\n${table}};\n")
  else()
    string(APPEND text "const EmbeddedImage kEmbeddedImageTable[] = {{0, nullptr, 0}};\n")
  endif()
  string(APPEND text "const int kEmbeddedImageCount = ${count};\n")
  file(WRITE ${OUTPUT} "${text}")
  return()
endif()

set(MERO_EMBED_IMAGES_SCRIPT ${CMAKE_CURRENT_LIST_FILE})

function(mero_embed_images target rc_file id_header)
  mero_read_image_list(${rc_file} ids files)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${rc_file})
  set(output ${CMAKE_CURRENT_BINARY_DIR}/${target}_images.cpp)
  add_custom_command(OUTPUT ${output}
    COMMAND ${CMAKE_COMMAND} -DRC_FILE=${rc_file} -DID_HEADER=${id_header} -DOUTPUT=${output}
            -P ${MERO_EMBED_IMAGES_SCRIPT}
    DEPENDS ${rc_file} ${id_header} ${files} ${MERO_EMBED_IMAGES_SCRIPT}
    COMMENT "Embedding the images of ${rc_file}"
    VERBATIM)
  target_sources(${target} PRIVATE ${output})
endfunction()
