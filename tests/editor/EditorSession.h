#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "PanelOracle.h"
#include "base/source/fobject.h"
#include "tools/vst3host/ComponentHandler.h"
#include "tools/vst3host/EditorWindow.h"
#include "tools/vst3host/HostApplication.h"
#include "tools/vst3host/Vst3Plugin.h"

// One MERO instance from the built module, set up as a DAW sets it up (initialised, the
// host's component handler set, stereo at 44.1 kHz, active), with its editor in a host
// window and the gestures a user makes on it, delivered to the editor's window as the
// platform delivers a user's (each dispatched before the call returns).
class EditorSession
{
public:
  // Rows of the audio block the sessions process: stereo, this many frames.
  static constexpr int kBlock = 256;
  using Block = std::vector<std::vector<float>>;

  // The module loaded once for the test program.
  static mero::Vst3Module& Module();
  // The folder of the panel images as this platform's file functions want it.
  static std::string ImageFolder();

  // The instance, initialised and prepared; false when a step fails.
  bool Create();
  // Opens the editor at screen position (x, y).
  bool OpenEditor(int x, int y);

  // getParamNormalized of the ten product parameters (tags 0..9).
  PanelOracle::Values Values() const;
  // One process call on a copy of input with the changes queued since the last one.
  Block Process(const Block& input);

  using Button = mero::EditorWindow::Button;
  using Keys = mero::EditorWindow::Keys;

  // Left press and release at (x, y).
  void Click(int x, int y, Keys keys = {});
  // Left press at (x, y), `moves` moves of dy pixels each, release.
  void Drag(int x, int y, int dy, int moves, Keys keys = {});
  // A left double click.
  void DoubleClick(int x, int y);
  // Right press and release.
  void RightClick(int x, int y);
  // Runs the event loop for one and a half timer periods of the editor (40 ms).
  void WaitForRedraw();

  // The editor as captured, compared with the oracle at the given values and scale.
  ::testing::AssertionResult ShowsPanel(const PanelOracle& oracle, const PanelOracle::Values& values,
                                        double scale = 1.0);
  // The same in another host window (of another view of this instance).
  static ::testing::AssertionResult ShowsPanel(const mero::EditorWindow& shownIn, const PanelOracle& oracle,
                                               const PanelOracle::Values& values, double scale = 1.0);

  mero::Vst3Plugin plugin;
  Steinberg::IPtr<mero::HostApplication> host{new mero::HostApplication, false};
  Steinberg::IPtr<mero::ComponentHandler> handler{new mero::ComponentHandler, false};
  mero::EditorWindow window;  // closed before the plug-in is released
};

// A test input: a 440 Hz sine at half scale on both channels, starting at the sample given.
EditorSession::Block SineBlock(int start);
