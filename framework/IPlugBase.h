#pragma once

#include <atomic>
#include <memory>
#include <vector>

#include "ChannelIOPair.h"
#include "HostLookup.h"
#include "IEditorLink.h"
#include "IMutex.h"
#include "IParamRecord.h"
#include "InChannel.h"
#include "LatencyDelay.h"
#include "MidiMessage.h"
#include "OutChannel.h"
#include "PlugString.h"
#include "PresetSlot.h"
#include "PtrList.h"
#include "StateChunk.h"
#include "TransportInfo.h"

struct IRectangle;

// The API-free base of a plug-in. It owns the parameters, the presets, the
// channel configuration with the per-channel double buffers, the plug-in
// lock, and the sample rate, block size and latency; it defines the state
// format (the parameter values as raw doubles, with the parameters after the
// original layout kept apart), the presets and the bridge
// between the host's float buffers and the double-precision block routine.
// An API binding derives from it and supplies the abstract operations; the
// product derives from the binding and overrides HandleParamChange and
// ProcessAudio.
class IPlugBase
{
public:
  static constexpr int kNameSize = 128;

  // channelIOStr: space-separated items "in-out", e.g. "1-1 2-2".
  // Four-character IDs carry the first character in the top byte.
  IPlugBase(int nParams, const char* channelIOStr, int nPresets, const char* effectName, const char* productName,
            const char* makerName, int vendorVersion, int uniqueID, int mfrID, int plugApi, bool isInstrument,
            bool midiIn, int latency);

  IPlugBase(const IPlugBase&) = delete;
  IPlugBase& operator=(const IPlugBase&) = delete;

  // ---- Virtual operations, in slot order ----
  virtual ~IPlugBase();
  // The defaults of HandleReset, HandleParamChange and HandleActivate take
  // and release the plug-in lock, which waits for a running block to end.
  virtual void HandleReset();
  virtual void HandleParamChange(int index);
  // The block routine; the default copies input i to output i and
  // zero-fills the further outputs.
  virtual void ProcessAudio(double** inputs, double** outputs, int frames);
  virtual void HandleEditorOpened() {}
  virtual void HandleEditorClosed() {}
  virtual void Reserved6() {}
  virtual void HandleActivate(bool active);
  virtual void HandleMidiMessage(const MidiMessage& message);
  virtual void Reserved9() {}
  // Writes "" into text (when given) and answers false.
  virtual bool QueryText(int what, char* text);
  virtual bool SaveState(StateChunk& chunk);
  virtual int LoadState(const StateChunk& chunk, int pos);
  // True when every parameter's value matches, to 1e-5 in float precision,
  // the double number start + i of bytes (nBytes long); false when bytes
  // is too short.
  virtual bool MatchesState(const unsigned char* bytes, int nBytes, int start);
  virtual void HandleEditorResized(const IRectangle& viewRect);
  virtual bool QueryHostFlag() { return false; }
  // Called at the end of the binding's initialisation.
  virtual void HandleHostIdentified() {}
  virtual void ShowHostParamMenu(int index, int x, int y);
  // Sets a parameter from an editor's normalised value under the plug-in
  // lock, tells the host (SendParamValue: the value as given for a continuous
  // parameter, the normalised step it now holds otherwise) and runs
  // HandleParamChange.
  virtual void SetParamFromEditor(int index, double normalized);
  virtual void BeginParamGesture(int index) = 0;
  virtual void SendParamValue(int index, double normalized) = 0;
  virtual void EndParamGesture(int index) = 0;
  virtual void NotifyHost() = 0;
  virtual bool IsOfflineRender() { return false; }
  virtual int GetTransportSample() = 0;
  virtual double GetTransportTempo() = 0;
  virtual void GetTransportTimeSignature(int* numerator, int* denominator) = 0;
  virtual void GetTransportInfo(TransportInfo* info) = 0;
  virtual int GetHostId() { return mHostId; }
  virtual int GetApiKind() { return mPlugApi; }
  virtual void ResizeEditor(int width, int height) = 0;
  virtual void Reserved31() {}
  // Takes ownership of editor (a different editor attached before is deleted)
  // and, under the plug-in lock, pushes every parameter's normalised value
  // into its controls and creates the editor's drawing surfaces. Nothing for
  // null.
  virtual void AttachEditor(IEditorLink* editor);
  // Stores the latency (negative counts as 0); when it changed, the delay
  // line (when there is one) takes it as its length and is cleared, which
  // allocates nothing up to the reserved latency.
  virtual void ChangeLatency(int samples);
  virtual bool EmitMidiMessage(const MidiMessage& message) = 0;
  virtual bool QueryPlugFlag() { return false; }
  // Shows every parameter's current value in the attached editor's controls;
  // takes no lock.
  virtual void RefreshParamControls();
  virtual void Reserved37() {}
  // Called by LoadPreset after a successful load.
  virtual void HandlePresetRestored() {}
  // Resizes every channel's scratch buffer to frames doubles and zero-fills
  // it; nothing when frames equals the block size. False, with every buffer
  // and the block size left as they were, when a buffer cannot be had.
  virtual bool ResizeBlockBuffers(int frames);

  // ---- Parameters and presets ----
  int NParams() const { return mParams.GetCount(); }
  // The record of parameter index, or null outside the list.
  IParamRecord* GetParamRecord(int index) const { return mParams.Get(index); }

  // Stores the current state in the first preset that holds none, named "-".
  void CaptureDefaultPreset();
  // Loads preset index (an empty slot captures the current state under the
  // name "user preset N" instead) and refreshes the editor's controls; false
  // for a bad index or a failed load.
  bool LoadPreset(int index);
  int NPresets() const { return mPresets.GetCount(); }
  // The name of preset index, or null outside the list.
  const char* GetPresetName(int index) const;
  int GetCurrentPresetIdx() const { return mCurrentPreset; }

  // ---- State ----
  // Appends every parameter value as 8 raw bytes, in index order, under the
  // plug-in lock. False when an append could not grow the chunk.
  bool SerializeParams(StateChunk& chunk);
  // Reads the parameter values from pos on under the plug-in lock and sets
  // each clamped; the parameter at which the chunk runs short gets 0.0
  // clamped and the rest keep their values. Runs HandleParamChange for every
  // parameter. Returns the position after the last value, or -1 when short.
  int UnserializeParams(const StateChunk& chunk, int pos);

  // The parameters 0 ... count - 1 make up the state's original layout
  // (count limited to 0 ... NParams(); default: every parameter). A binding
  // that stores fields of its own after the parameter values stores the
  // further parameters after those fields, so that states saved before
  // those parameters existed still load.
  void SetNOriginalStateParams(int count);
  int NOriginalStateParams() const { return mNOriginalStateParams; }
  // The bytes of the original layout at the start of a SerializeParams chunk.
  int OriginalStateBytes() const { return mNOriginalStateParams * static_cast<int>(sizeof(double)); }
  // Writes the default value of every parameter after the original layout
  // into its place in chunk, a SerializeParams chunk of the current state.
  void WriteAppendedDefaults(StateChunk& chunk) const;
  // Whether every parameter after the original layout holds, in chunk (laid
  // out as SerializeParams writes it), a value a state may hold: a whole step
  // within the range for a stepped parameter, any value for a continuous one
  // (loading clamps it). False when chunk is too short.
  bool AppendedValuesValid(const StateChunk& chunk) const;

  // ---- Channel configuration ----
  int NChannelIO() const { return mChannelIO.GetCount(); }
  const ChannelIOPair* GetChannelIO(int index) const { return mChannelIO.Get(index); }
  // True when some pair matches; a negative count matches any.
  bool LegalIO(int inputs, int outputs) const;

  // ---- Buffer bridge for the API binding (with the plug-in lock held) ----
  int NInChannels() const { return mInChannels.GetCount(); }
  int NOutChannels() const { return mOutChannels.GetCount(); }
  // The pointer arrays the block routine receives, one slot per channel.
  double** GetInputPointers() { return mInputPtrs.data(); }
  double** GetOutputPointers() { return mOutputPtrs.data(); }

  bool IsInputConnected(int channel) const;
  bool IsOutputConnected(int channel) const;
  void SetInputConnected(int channel, bool connected);
  void SetOutputConnected(int channel, bool connected);
  // Points a channel's slot at its own scratch buffer or at a host buffer
  // of doubles.
  void PointInputAtScratch(int channel);
  void PointInputAt(int channel, double* hostBuffer);
  void PointOutputAtScratch(int channel);
  void PointOutputAt(int channel, double* hostBuffer);
  // The host's 32-bit buffer that WriteOutputs fills for this channel.
  void SetOutputDestination(int channel, float* hostBuffer);
  float* GetOutputDestination(int channel) const;

  // For input channels first ... first + count - 1: a channel not connected
  // is skipped without using up a host buffer; a connected one converts
  // frames samples of the next host buffer, from hostOffset on, into its
  // scratch buffer and its slot points there. A null host buffer reads as
  // silence. At most one block is converted.
  void ConnectInputs(int first, int count, float* const* hostBuffers, int frames, int hostOffset = 0);
  // Points an input channel's slot at its scratch buffer and zero-fills
  // frames samples of it (at most one block): the channel reads silence.
  void SilenceInput(int channel, int frames);
  // Converts frames doubles of every connected output's slot into its host
  // destination from hostOffset on; at most one block.
  void WriteOutputs(int frames, int hostOffset = 0);
  // Output slot i receives input slot i (delayed by the latency) for every i
  // below both channel counts; every further output slot is zero-filled.
  void PassThroughAudio(int frames);
  // Whether the last block routine left every output channel all zeros: the block
  // routine may say so, the API binding clears it before each block and tells the host.
  void SetOutputSilent(bool silent) { mOutputSilent = silent; }
  bool IsOutputSilent() const { return mOutputSilent; }

  // Creates the latency delay line for the channel counts with the current
  // latency as its length and room for the reserved latency.
  void CreateLatencyDelay();
  bool HasLatencyDelay() const { return mDelay != nullptr; }
  // Gives the delay line room for latencies up to maxSamples (negative counts
  // as 0), so that ChangeLatency up to it allocates nothing: on the audio
  // thread as well. Allocates; for construction time.
  void ReserveLatency(int maxSamples);
  int GetReservedLatency() const { return mReservedLatency; }

  // ---- Bus names, group names ----
  // Replaces bus name index, or appends it when index is the count (indexes
  // further on are filled with ""). False for a negative index or when the
  // list cannot grow.
  bool SetInputBusName(int index, const char* name);
  bool SetOutputBusName(int index, const char* name);
  int NInputBusNames() const { return mInputBusNames.GetCount(); }
  int NOutputBusNames() const { return mOutputBusNames.GetCount(); }
  // The bus name, or null outside the list.
  const char* GetInputBusName(int index) const;
  const char* GetOutputBusName(int index) const;

  // The 1-based position of group in the group-name list (exact comparison),
  // appending the pointer when the name is new; 0 for an empty or null
  // group or when the list cannot grow. group must outlive the plug-in (a
  // parameter's group field).
  int AddGroupName(const char* group);
  int NGroupNames() const { return mGroupNames.GetCount(); }
  // Group name index (from 0), or null outside the list.
  const char* GetGroupName(int index) const { return mGroupNames.Get(index); }

  // ---- Settings and runtime values ----
  const char* GetEffectName() const { return mEffectName; }
  const char* GetProductName() const { return mProductName; }
  const char* GetMakerName() const { return mMakerName; }
  int GetUniqueID() const { return mUniqueID; }
  int GetMfrID() const { return mMfrID; }
  int GetVendorVersion() const { return mVendorVersion; }
  bool IsInstrument() const { return mIsInstrument; }
  bool DoesMidiIn() const { return mDoesMidiIn; }

  // Identifies the host by its 8-bit name (LookUpHost) and stores its version.
  void SetHost(const char* hostName, int version);
  int GetHostVersion() const { return mHostVersion; }

  double GetSampleRate() const { return mSampleRate; }
  void SetSampleRate(double sampleRate) { mSampleRate = sampleRate; }
  int GetBlockSize() const { return mBlockSize; }
  // A relaxed atomic: set under the plug-in lock, read by the host from any thread.
  int GetLatency() const { return mLatency.load(std::memory_order_relaxed); }
  int GetTailSize() const { return mTailSize; }
  void SetTailSize(int samples) { mTailSize = samples; }
  // The host's bypass, a relaxed atomic: the audio thread sets it while the
  // controller side reads it.
  bool IsBypassed() const { return mBypassed.load(std::memory_order_relaxed); }
  void SetBypassed(bool bypassed) { mBypassed.store(bypassed, std::memory_order_relaxed); }

  // The re-entrant plug-in lock.
  IMutex& GetMutex() { return mMutex; }

  // The attached editor, or null. The plug-in owns it and deletes it first
  // when it is destroyed.
  IEditorLink* GetGUI() const { return mEditor.get(); }

private:
  void ParseChannelIO(const char* channelIOStr);
  // Scratch buffers by index: the input channels', then the output channels'.
  GrowBuffer& ScratchBuffer(int index, double**& slot);
  double* ScratchOf(int index);
  // Resizes scratch buffer index to bytes; a slot that pointed at it (or
  // nowhere) points at it again. False when it could not be resized.
  bool ResizeScratch(int index, int bytes, bool allowShrink);
  static bool SetBusName(PtrList<PlugString>& names, int index, const char* name);

  PtrList<ChannelIOPair> mChannelIO;
  IMutex mMutex;
  char mEffectName[kNameSize];
  char mProductName[kNameSize];
  char mMakerName[kNameSize];
  int mUniqueID;
  int mMfrID;
  int mVendorVersion;
  int mPlugApi;
  int mHostId = kHostUninit;
  int mHostVersion = 0;
  bool mIsInstrument;
  bool mDoesMidiIn;
  std::atomic<bool> mBypassed{false};
  int mCurrentPreset = 0;
  double mSampleRate = 44100.0;
  int mBlockSize = 0;
  bool mOutputSilent = false;
  std::atomic<int> mLatency{0};
  int mReservedLatency = 0;
  int mTailSize = 0;
  int mNOriginalStateParams = 0;
  std::unique_ptr<LatencyDelay> mDelay;
  PtrList<const char, false> mGroupNames;
  std::unique_ptr<IEditorLink> mEditor;
  PtrList<IParamRecord> mParams;
  PtrList<PresetSlot> mPresets;
  std::vector<double*> mInputPtrs;
  std::vector<double*> mOutputPtrs;
  PtrList<InChannel> mInChannels;
  PtrList<OutChannel> mOutChannels;
  PtrList<PlugString> mInputBusNames;
  PtrList<PlugString> mOutputBusNames;
};
