#pragma once

// The VST 3 binding of the plug-in base: one single-component effect that is the host's
// IComponent, IAudioProcessor, IEditController and IUnitInfo at once. It registers the
// buses and parameters at initialisation, negotiates mono or stereo, runs the process
// call (last-point automation, host bypass, the float/double buffer bridge) under the
// plug-in lock, answers the controller's queries from the parameter records and saves
// the state as the doubles of the original layout's parameters, the int32 bypass flag,
// the doubles of the further parameters, with an editor the double of the editor's
// size factor, then the int32 index of the current preset (states that end before the
// factor load at 1, before the index as preset 0). The presets are the program list
// 'prst' of the root unit and the list parameter 'prst', whose value texts are their
// names; selecting one loads it. With an editor
// attached it gives the host an editor view, shows host changes in the editor's controls
// and opens the host's context menu for a parameter.

#include <atomic>
#include <cstdint>
#include <vector>

#include "IPlugBase.h"
#include "vst3/IPlugVST3View.h"
#include "vst3/SingleComponentEffect.h"
#include "pluginterfaces/vst/ivstprocesscontext.h"

class IPlugVST3 : public IPlugBase, public Steinberg::Vst::SingleComponentEffect
{
public:
  // Tags of the two parameters the binding adds to the plug-in's own (tags 0 ... n - 1).
  static constexpr Steinberg::Vst::ParamID kPresetTag = 0x70727374;  // 'prst'
  static constexpr Steinberg::Vst::ParamID kBypassTag = 0x62706173;  // 'bpas'

  // The plug-in base's settings, passed on unchanged.
  IPlugVST3(int nParams, const char* channelIOStr, int nPresets, const char* effectName, const char* productName,
            const char* makerName, int vendorVersion, int uniqueID, int mfrID, int plugApi, bool isInstrument,
            bool midiIn, int latency);

  // The speaker arrangement of an audio bus with this many channels (kEmpty beyond 6).
  static Steinberg::Vst::SpeakerArrangement ArrangementFor(int channels);

  //---IPluginBase (component and controller)
  Steinberg::tresult PLUGIN_API initialize(Steinberg::FUnknown* context) SMTG_OVERRIDE;
  Steinberg::tresult PLUGIN_API terminate() SMTG_OVERRIDE;

  //---IComponent
  Steinberg::tresult PLUGIN_API setActive(Steinberg::TBool state) SMTG_OVERRIDE;

  //---IAudioProcessor
  Steinberg::tresult PLUGIN_API setBusArrangements(Steinberg::Vst::SpeakerArrangement* inputs, Steinberg::int32 numIns,
                                                   Steinberg::Vst::SpeakerArrangement* outputs,
                                                   Steinberg::int32 numOuts) SMTG_OVERRIDE;
  Steinberg::tresult PLUGIN_API canProcessSampleSize(Steinberg::int32 symbolicSampleSize) SMTG_OVERRIDE;
  Steinberg::uint32 PLUGIN_API getLatencySamples() SMTG_OVERRIDE;
  Steinberg::tresult PLUGIN_API setupProcessing(Steinberg::Vst::ProcessSetup& setup) SMTG_OVERRIDE;
  Steinberg::tresult PLUGIN_API setProcessing(Steinberg::TBool state) SMTG_OVERRIDE;
  Steinberg::tresult PLUGIN_API process(Steinberg::Vst::ProcessData& data) SMTG_OVERRIDE;
  Steinberg::uint32 PLUGIN_API getTailSamples() SMTG_OVERRIDE;

  //---IEditController (getState/setState also serve IComponent)
  // Takes a whole state, or one of the original layout alone (the further parameters
  // then get their defaults), or one without the size factor (then 1); the original
  // layout's values are clamped into their ranges. kResultFalse, with nothing changed,
  // for a stream of any other length, with a further stepped parameter's value off its
  // steps or range, or with a size factor outside kMinEditorSizeFactor ...
  // kMaxEditorSizeFactor (or not a number).
  Steinberg::tresult PLUGIN_API setState(Steinberg::IBStream* state) SMTG_OVERRIDE;
  Steinberg::tresult PLUGIN_API getState(Steinberg::IBStream* state) SMTG_OVERRIDE;
  Steinberg::tresult PLUGIN_API getParameterInfo(Steinberg::int32 paramIndex,
                                                 Steinberg::Vst::ParameterInfo& info) SMTG_OVERRIDE;
  Steinberg::tresult PLUGIN_API getParamStringByValue(Steinberg::Vst::ParamID tag,
                                                      Steinberg::Vst::ParamValue valueNormalized,
                                                      Steinberg::Vst::String128 string) SMTG_OVERRIDE;
  Steinberg::tresult PLUGIN_API getParamValueByString(Steinberg::Vst::ParamID tag, Steinberg::Vst::TChar* string,
                                                      Steinberg::Vst::ParamValue& valueNormalized) SMTG_OVERRIDE;
  // The conversions answer within the parameter's range (0 ... 1 for 'prst' and 'bpas')
  // whatever the value, NaN reading as the lower end; other tags get the value back.
  Steinberg::Vst::ParamValue PLUGIN_API
  normalizedParamToPlain(Steinberg::Vst::ParamID tag, Steinberg::Vst::ParamValue valueNormalized) SMTG_OVERRIDE;
  Steinberg::Vst::ParamValue PLUGIN_API plainParamToNormalized(Steinberg::Vst::ParamID tag,
                                                               Steinberg::Vst::ParamValue plainValue) SMTG_OVERRIDE;
  Steinberg::Vst::ParamValue PLUGIN_API getParamNormalized(Steinberg::Vst::ParamID tag) SMTG_OVERRIDE;
  // Under the plug-in lock: sets the record, shows the value in the editor's controls
  // when the record changed, and runs HandleParamChange. 'prst' loads the preset it selects
  // when that is not the current one, and then tells the host that the parameter values
  // changed.
  Steinberg::tresult PLUGIN_API setParamNormalized(Steinberg::Vst::ParamID tag,
                                                   Steinberg::Vst::ParamValue value) SMTG_OVERRIDE;
  // A new editor view for exactly "editor" when an editor is attached; null otherwise.
  Steinberg::IPlugView* PLUGIN_API createView(Steinberg::FIDString name) SMTG_OVERRIDE;

  //---IEditController2
  Steinberg::tresult PLUGIN_API setKnobMode(Steinberg::Vst::KnobMode mode) SMTG_OVERRIDE;

  //---IUnitInfo: the root unit plus one unit per parameter group; the presets as the
  // program list 'prst' "Factory Presets" of the root unit.
  Steinberg::int32 PLUGIN_API getUnitCount() SMTG_OVERRIDE;
  Steinberg::tresult PLUGIN_API getUnitInfo(Steinberg::int32 unitIndex, Steinberg::Vst::UnitInfo& info) SMTG_OVERRIDE;
  Steinberg::int32 PLUGIN_API getProgramListCount() SMTG_OVERRIDE;
  Steinberg::tresult PLUGIN_API getProgramListInfo(Steinberg::int32 listIndex,
                                                   Steinberg::Vst::ProgramListInfo& info) SMTG_OVERRIDE;
  Steinberg::tresult PLUGIN_API getProgramName(Steinberg::Vst::ProgramListID listId, Steinberg::int32 programIndex,
                                               Steinberg::Vst::String128 name) SMTG_OVERRIDE;
  Steinberg::tresult PLUGIN_API getProgramInfo(Steinberg::Vst::ProgramListID listId, Steinberg::int32 programIndex,
                                               Steinberg::Vst::CString attributeId,
                                               Steinberg::Vst::String128 attributeValue) SMTG_OVERRIDE;
  Steinberg::tresult PLUGIN_API hasProgramPitchNames(Steinberg::Vst::ProgramListID listId,
                                                     Steinberg::int32 programIndex) SMTG_OVERRIDE;
  Steinberg::tresult PLUGIN_API getProgramPitchName(Steinberg::Vst::ProgramListID listId, Steinberg::int32 programIndex,
                                                    Steinberg::int16 midiPitch,
                                                    Steinberg::Vst::String128 name) SMTG_OVERRIDE;
  Steinberg::Vst::UnitID PLUGIN_API getSelectedUnit() SMTG_OVERRIDE;
  Steinberg::tresult PLUGIN_API selectUnit(Steinberg::Vst::UnitID unitId) SMTG_OVERRIDE;
  Steinberg::tresult PLUGIN_API getUnitByBus(Steinberg::Vst::MediaType type, Steinberg::Vst::BusDirection dir,
                                             Steinberg::int32 busIndex, Steinberg::int32 channel,
                                             Steinberg::Vst::UnitID& unitId) SMTG_OVERRIDE;
  Steinberg::tresult PLUGIN_API setUnitProgramData(Steinberg::int32 listOrUnitId, Steinberg::int32 programIndex,
                                                   Steinberg::IBStream* data) SMTG_OVERRIDE;

  //---IPlugBase operations supplied by this binding
  void BeginParamGesture(int index) override;
  void SendParamValue(int index, double normalized) override;
  void EndParamGesture(int index) override;
  void NotifyHost() override {}
  bool IsOfflineRender() override;
  int GetTransportSample() override;
  double GetTransportTempo() override;
  void GetTransportTimeSignature(int* numerator, int* denominator) override;
  void GetTransportInfo(TransportInfo* info) override;
  // The host's context menu for parameter index at (x, y) of the view showing the
  // editor (the one clicked), when the component handler offers IComponentHandler3.
  void ShowHostParamMenu(int index, int x, int y) override;
  // Asks the frame of the view showing the editor for (0, 0, width, height).
  void ResizeEditor(int width, int height) override;
  // Call with the plug-in lock held (as HandleParamChange runs). When the latency
  // changed the host is told (restartComponent with kLatencyChanged) once, after the
  // entry point that changed it (process, setParamNormalized, setState, an editor edit)
  // has released the plug-in lock; at once when called from anywhere else.
  void ChangeLatency(int samples) override;
  // The base's edit, with the latency notice after its lock (see ChangeLatency).
  void SetParamFromEditor(int index, double normalized) override;
  bool EmitMidiMessage(const MidiMessage& message) override;

  // The user's size of the editor: its scale over the host's content scale (1 until the
  // user resizes it), kept in the state of a plug-in with an editor.
  static constexpr double kMinEditorSizeFactor = 0.25;
  static constexpr double kMaxEditorSizeFactor = 4.0;
  double GetEditorSizeFactor() const { return mEditorSizeFactor.load(std::memory_order_relaxed); }
  // False, keeping the factor, for a factor outside kMinEditorSizeFactor ...
  // kMaxEditorSizeFactor (NaN too).
  bool SetEditorSizeFactor(double factor);

  OBJ_METHODS(IPlugVST3, SingleComponentEffect)
  REFCOUNT_METHODS(SingleComponentEffect)

private:
  // The views move the editor between them through the functions below.
  friend class IPlugVST3View;

  // view (attached last) takes the editor from the view showing it and opens its window;
  // when the window cannot be opened the editor goes back to the view attached most
  // recently before. True when view shows the editor.
  bool ShowEditorIn(IPlugVST3View* view);
  // When view shows the editor: its window closes and the attached view that was
  // attached most recently shows it again (none may).
  void TakeEditorFrom(IPlugVST3View* view);
  // The attached views other than except, latest first, until one opens the window.
  void ShowEditorInLatestAttached(const IPlugVST3View* except);
  void ForgetView(IPlugVST3View* view);
  uint64_t NextAttachOrder() { return ++mAttachCount; }

  void RegisterBusesAndParameters();
  // 'prst' or 'bpas'.
  static bool IsBindingTag(Steinberg::Vst::ParamID tag);
  // The record of a plug-in parameter tag, or null for any other tag.
  IParamRecord* RecordForTag(Steinberg::Vst::ParamID tag) const;
  // The whole of size bytes written to or read from the stream; false when it fails
  // or ends first.
  static bool WriteAll(Steinberg::IBStream* stream, const void* bytes, Steinberg::int32 size);
  static bool ReadAll(Steinberg::IBStream* stream, void* bytes, Steinberg::int32 size);
  // The number of bytes, up to size, the stream delivers before it ends (a read fails
  // or delivers none).
  static Steinberg::int32 ReadUpTo(Steinberg::IBStream* stream, void* bytes, Steinberg::int32 size);
  // The editor's size factor of a state: factor left as it is when the stream has
  // ended, whole set when a whole double came; false for part of a double or a factor
  // out of range.
  static bool ReadSizeFactor(Steinberg::IBStream* stream, double& factor, bool& whole);
  // The process call proper, under the plug-in lock.
  void ProcessLocked(Steinberg::Vst::ProcessData& data);
  // The preset a normalised 'prst' value selects (the SDK's steps), its normalised
  // value, and the preset whose name is text exactly (-1 for none).
  int PresetAt(double normalized) const;
  double PresetValue(int index) const;
  int PresetNamed(const Steinberg::Vst::TChar* text) const;
  void ApplyParameterChanges(Steinberg::Vst::IParameterChanges* changes);
  // A host value of a parameter into the editor's controls (no lock of its own, no
  // allocation: also on the audio thread), limited to 0 ... 1. The binding's one
  // call into the editor's controls.
  void ShowHostValue(int index, double normalized);
  void ConnectInputBus(const Steinberg::Vst::ProcessData& data);
  void ConnectOutputBuses(const Steinberg::Vst::ProcessData& data);
  // Binds the block routine's slots to frames samples of this call's host buffers from
  // offset on: 64-bit buffers directly, 32-bit inputs converted into the scratch
  // buffers. An input channel that no host buffer feeds reads zeroed scratch.
  void BindPiece(const Steinberg::Vst::ProcessData& data, int offset, int frames);
  void BindInputPiece(int offset, int frames);
  void BindOutputPiece64(int offset);
  void RenderPiece(int frames);
  // Zeros frames samples of the host output channels of this call that the block
  // routine did not write: unless rendered (a call before any setup) all of them,
  // otherwise those beyond the plug-in's channels on buses the host has not switched off.
  void SilenceHostOutputs(Steinberg::Vst::ProcessData& data, int frames, bool rendered);

  int mSideChainChannels = 0;
  // The entry points that may change the latency (process, setParamNormalized,
  // setState, editor edits) take the plug-in lock through one of these: a change made
  // while one holds it is noted, and the host is told once, after the outermost one
  // has released the lock, so that the host may reconfigure the processor in its
  // answer. mNoticeDepth counts the holders and is only touched under the lock.
  class LockForNotices;
  int mNoticeDepth = 0;
  std::atomic<bool> mLatencyNoticePending{false};
  bool mRegistered = false;
  Steinberg::Vst::ProcessContext mProcessContext = {};
  // The live views createView made, in creation order; not referenced (each view
  // leaves the list at its destruction).
  std::vector<IPlugVST3View*> mViews;
  // The view whose window shows the editor, or null.
  IPlugVST3View* mShowingView = nullptr;
  uint64_t mAttachCount = 0;
  std::atomic<double> mEditorSizeFactor{1.0};
  // This call's host buffers per channel (null for none); sized at construction.
  std::vector<float*> mHostIn32;
  std::vector<double*> mHostIn64;
  std::vector<double*> mHostOut64;
  // Tells the host, through each output bus's silence flags, which channels the
  // block routine left all zeros in every piece of this call.
  void ReportOutputSilence(Steinberg::Vst::ProcessData& data, bool silent);
};
