#pragma once

#include <cstdint>

// The calls a fuzz input asks the host to make, one byte each, followed by the bytes
// that choose the call's arguments (see FuzzHost).
enum class HostOp : uint8_t
{
  Initialize,  // context: 0 none, else a host application
  Terminate,
  Arrange,  // setBusArrangements
  ActivateBus,
  Setup,  // setupProcessing
  SetActive,
  Process,
  SetState,
  GetState,
  Controller,  // one parameter query or conversion
  Query,       // one processor or component query
  kCount
};
