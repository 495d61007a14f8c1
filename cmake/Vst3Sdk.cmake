# The VST 3 SDK as a static library, compiled from Debian's juce-modules-source copy.
# Third-party code: built with its own defaults, not with the project's warning flags.

set(VST3_SDK_DIR /usr/share/juce/modules/juce_audio_processors/format_types/VST3_SDK
  CACHE PATH "VST 3 SDK folder of Debian's juce-modules-source")
if(NOT EXISTS ${VST3_SDK_DIR}/pluginterfaces/base/funknown.h)
  message(FATAL_ERROR "VST 3 SDK missing at ${VST3_SDK_DIR}: install the package juce-modules-source")
endif()

add_library(vst3sdk STATIC
  ${VST3_SDK_DIR}/pluginterfaces/base/coreiids.cpp
  ${VST3_SDK_DIR}/pluginterfaces/base/funknown.cpp
  ${VST3_SDK_DIR}/pluginterfaces/base/ustring.cpp
  ${VST3_SDK_DIR}/pluginterfaces/base/conststringtable.cpp
  ${VST3_SDK_DIR}/base/source/baseiids.cpp
  ${VST3_SDK_DIR}/base/source/fbuffer.cpp
  ${VST3_SDK_DIR}/base/source/fdebug.cpp
  ${VST3_SDK_DIR}/base/source/fobject.cpp
  ${VST3_SDK_DIR}/base/source/fstring.cpp
  ${VST3_SDK_DIR}/base/source/updatehandler.cpp
  ${VST3_SDK_DIR}/base/thread/source/flock.cpp
  ${VST3_SDK_DIR}/public.sdk/source/common/memorystream.cpp
  ${VST3_SDK_DIR}/public.sdk/source/common/pluginview.cpp
  ${VST3_SDK_DIR}/public.sdk/source/vst/vstbus.cpp
  ${VST3_SDK_DIR}/public.sdk/source/vst/vstcomponentbase.cpp
  ${VST3_SDK_DIR}/public.sdk/source/vst/vsteditcontroller.cpp
  ${VST3_SDK_DIR}/public.sdk/source/vst/vstinitiids.cpp
  ${VST3_SDK_DIR}/public.sdk/source/vst/vstparameters.cpp
  ${CMAKE_SOURCE_DIR}/vst3/PlugViewIids.cpp)
target_include_directories(vst3sdk SYSTEM PUBLIC ${VST3_SDK_DIR})
target_compile_options(vst3sdk PRIVATE -w -ffp-contract=off)
# RELEASE selects the SDK's shipping configuration (no debug output, no asserts).
target_compile_definitions(vst3sdk PUBLIC RELEASE=1)
if(WIN32)
  target_compile_definitions(vst3sdk PUBLIC UNICODE _UNICODE)
  target_link_libraries(vst3sdk PUBLIC ole32)
else()
  find_package(Threads REQUIRED)
  target_link_libraries(vst3sdk PUBLIC Threads::Threads)
endif()
if(MERO_SANITIZE AND NOT WIN32)
  target_compile_options(vst3sdk PRIVATE -fsanitize=address -fno-omit-frame-pointer)
endif()
