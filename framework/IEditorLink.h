#pragma once

// What the plug-in base needs of an attached editor: showing a parameter's value in
// the controls bound to it and making the editor's drawing surfaces. The GUI's
// IGraphics implements it; the plug-in base owns the editor through it and deletes it
// through it.
class IEditorLink
{
public:
  virtual ~IEditorLink() = default;
  // Pushes parameter paramIdx's value (normalised, or plain in the parameter's own
  // units) into every control bound to it. May be called from the audio thread: takes
  // no lock and allocates nothing.
  virtual void ShowParamValue(int paramIdx, double value, bool normalized) = 0;
  // Makes the editor's off-screen drawing surfaces.
  virtual void CreateBackingBitmaps() = 0;
};
