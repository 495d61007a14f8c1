# Compile settings shared by every target of the project (not by third-party code).
#
# Floating point: the effect is specified operation by operation in double precision,
# so no contraction into fused multiply-adds and no fast-math anywhere.

add_library(mero_options INTERFACE)
target_compile_options(mero_options INTERFACE
  -Wall -Wextra
  -ffp-contract=off)
if(WIN32)
  target_compile_definitions(mero_options INTERFACE UNICODE _UNICODE NOMINMAX WIN32_LEAN_AND_MEAN)
endif()

if(MERO_SANITIZE AND NOT WIN32)
  target_compile_options(mero_options INTERFACE -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  target_link_options(mero_options INTERFACE -fsanitize=address,undefined)
endif()

# mero_target(<target>): applies the project's compile settings to one target.
function(mero_target target)
  target_link_libraries(${target} PRIVATE mero_options)
endfunction()
