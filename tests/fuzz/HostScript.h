#pragma once

#include <cstdint>

// The calls a fuzz input asks the host to make, one byte each, followed by the bytes
// that choose the call's arguments (see FuzzHost).
enum class HostOp : uint8_t
{
  kInitialize,  // context: 0 none, else a host application
  kTerminate,
  kArrange,  // setBusArrangements
  kActivateBus,
  kSetup,  // setupProcessing
  kSetActive,
  kProcess,
  kSetState,
  kGetState,
  kController,  // one parameter query or conversion
  kQuery,       // one processor or component query
  kCount
};
