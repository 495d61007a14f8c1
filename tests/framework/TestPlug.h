#pragma once

#include <string>
#include <vector>

#include "IPlugBase.h"

// A plug-in base with the API operations filled in by recorders, so tests can
// see what the base calls and in which order.
class TestPlug : public IPlugBase
{
public:
  static constexpr int FourChars(const char (&c)[5]) { return (c[0] << 24) | (c[1] << 16) | (c[2] << 8) | c[3]; }

  static constexpr int kProductParams = 9;

  explicit TestPlug(int nParams = kProductParams, const char* channelIO = "1-1 2-2", int nPresets = 1, int latency = 0,
                    const char* name = "MERO")
    : IPlugBase(nParams, channelIO, nPresets, name, "", "Parvolen", 0x10000, FourChars("Mer1"), FourChars("Prvl"), 1,
                false, false, latency)
  {
  }

  // Defines every parameter as an integer 0..20 with default 6.
  void DefineIntegers()
  {
    for (int i = 0; i < NParams(); ++i) GetParamRecord(i)->DefineInteger("P", 6, 0, 20);
  }

  void HandleParamChange(int index) override
  {
    IPlugBase::HandleParamChange(index);
    calls.push_back("change " + std::to_string(index));
  }
  void HandlePresetRestored() override { calls.push_back("restored"); }
  void BeginParamGesture(int index) override { calls.push_back("begin " + std::to_string(index)); }
  void SendParamValue(int index, double normalized) override
  {
    calls.push_back("send " + std::to_string(index) + " " + std::to_string(normalized));
  }
  void EndParamGesture(int index) override { calls.push_back("end " + std::to_string(index)); }
  void NotifyHost() override {}
  int GetTransportSample() override { return 0; }
  double GetTransportTempo() override { return 120.0; }
  void GetTransportTimeSignature(int* numerator, int* denominator) override
  {
    *numerator = 4;
    *denominator = 4;
  }
  void GetTransportInfo(TransportInfo*) override {}
  void ResizeEditor(int, int) override {}
  bool EmitMidiMessage(const MidiMessage& message) override
  {
    emitted.push_back(message.status);
    return false;
  }

  std::vector<std::string> calls;
  std::vector<int> emitted;
};
