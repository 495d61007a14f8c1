#pragma once

#include <memory>

#include "IArgbColor.h"
#include "IBitmapStrip.h"
#include "IBlend.h"
#include "IEditorLink.h"
#include "IMenu.h"
#include "IMouseModifiers.h"
#include "IRectangle.h"
#include "ITextStyle.h"
#include "PlugString.h"
#include "PtrList.h"

class IControl;
class IEditorRunLoop;
class IImageSource;
class IParamRecord;
class IPlugBase;
class IScaledStrip;
class LICE_IBitmap;
class LICE_MemBitmap;
class LICE_SysBitmap;

// The platform-independent editor: the ordered controls (index 0 is the
// background, higher indexes are drawn later and hit first), the off-screen drawing
// surface, the editor size and redraw rate and the mouse-capture state. It loads
// images through the process-wide bitmap cache, routes mouse and key events to
// controls by hit-testing, redraws controls into the off-screen surface and asks the
// platform layer to present it. A platform layer derives from it and supplies the
// abstract operations.
//
// Controls and their rectangles are laid out in logical pixels (Width() x Height());
// the editor is drawn at a scale, the device pixels per logical pixel (1 until
// SetScale). A logical rectangle r covers the device rectangle DeviceRect(r, scale):
// left round(r.L s), top round(r.T s), width round(r.W() s), height round(r.H() s),
// where round(v) = floor(v + 0.5 + 1e-9) (halves up, and a product that misses a half
// by rounding error only counts as the half). The window and the draw bitmap are the device
// rectangle of the whole editor (WindowWidth() x WindowHeight()); the platform layer
// presents and reports events in device pixels.
//
// It is the plug-in base's editor link: the plug-in owns it from AttachEditor on.
// Everything runs on the window's thread except ShowParamValue, which the plug-in may
// call from the audio thread: it takes no lock and allocates nothing.
class IGraphics : public IEditorLink
{
public:
  IGraphics(IPlugBase* plug, int width, int height, int frameRate);

  IGraphics(const IGraphics&) = delete;
  IGraphics& operator=(const IGraphics&) = delete;

  // ---- Virtual operations, in slot order ----
  virtual bool PresentToScreen(const IRectangle& r) = 0;
  // Fits r to text drawn in style (IEditorText::MeasureText against the draw bitmap).
  virtual bool MeasureText(ITextStyle& style, const char* text, IRectangle& r);
  virtual void CancelTextEntry() = 0;
  // New size: every control is deleted (the caller adds them again), the backing
  // bitmaps are made again and the plug-in is told.
  virtual void Resize(int width, int height);
  // GetWindowHandle is not null.
  virtual bool IsWindowOpen();
  virtual const char* GetApiName();
  virtual int ShowMessage(const char* text, const char* caption, int type) = 0;
  // The menu (or submenu) the user chose from, its chosen index set; null for none.
  virtual IMenu* ShowPopupMenu(IMenu* menu, const IRectangle& r) = 0;
  virtual void OpenTextEntry(IControl* control, const ITextStyle& style, const IRectangle& r, const char* text,
                             IParamRecord* param) = 0;
  virtual void HostExecutableFolder(PlugString& out) = 0;
  virtual void ModuleFolder(PlugString& out) = 0;
  virtual void DesktopFolder(PlugString& out) = 0;
  virtual void AppDataPath(PlugString& out, bool allUsers) = 0;
  virtual void UserDataPath(PlugString& out) = 0;
  virtual void ChooseFile(PlugString& file, int action, PlugString& folder, const char* extensions) = 0;
  virtual bool PickColor(IArgbColor& color, const char* prompt) = 0;
  virtual bool OpenUrl(const char* address, const char* title, const char* confirm, const char* failure) = 0;
  virtual void* ReservedQuery17() { return nullptr; }
  virtual void* OpenWindow(void* parent) = 0;
  virtual void ReservedHook19() {}
  virtual void ReservedHook20() {}
  virtual void CloseWindow() = 0;
  virtual void* GetWindowHandle() = 0;
  virtual bool ReadClipboardText(PlugString& out) = 0;
  // Deletes the key catcher, every control and both backing bitmaps; cached
  // bitmaps stay.
  ~IGraphics() override;
  virtual void HideCursor() {}
  virtual void RestoreCursor() {}
  virtual void ReservedHook27() = 0;
  // The decoded image of a resource, owned by the caller from then on, or null when
  // it is missing or cannot be decoded. By default: image id of the image source,
  // decoded, when fileName ends in ".png" (any case) and the image has at least 8
  // bytes.
  virtual LICE_IBitmap* LoadImageResource(int id, const char* fileName);
  // Draws at scale from now on (clamped into kMinScale ... kMaxScale): the draw bitmap
  // made again at the new window size, every strip loaded so far rendered once at its
  // new device size (IScaledStrip; the 2x images loaded first above 1) and every
  // control marked dirty. False, changing nothing, for a scale that is not a finite
  // number above 0. A platform layer also resizes its window.
  virtual bool SetScale(double scale);
  // The content scale of the display where the host tells none: 1 here.
  virtual double SystemContentScale() { return 1.0; }

  // The editor attached to plug, or null when it has none or another kind of editor.
  static IGraphics* Of(const IPlugBase* plug);

  // ---- Building the editor ----
  IPlugBase* GetPlug() const { return mPlug; }
  // Where LoadImageResource finds the images (not owned; it outlives the editor).
  void SetImageSource(const IImageSource* images) { mImages = images; }
  // What a window the host makes larger than the editor shows beyond the editor's
  // area (0x00RRGGBB; black until set).
  void SetBorderColor(unsigned int rgb) { mBorderColor = rgb; }
  unsigned int BorderColor() const { return mBorderColor; }
  int Width() const { return mWidth; }
  int Height() const { return mHeight; }
  int FrameRate() const { return mFrameRate; }

  // ---- Scale ----
  static constexpr double kMinScale = 0.75;
  static constexpr double kMaxScale = 3.0;
  static IRectangle DeviceRect(const IRectangle& r, double scale);
  double GetScale() const { return mScale; }
  IRectangle DeviceRect(const IRectangle& r) const { return DeviceRect(r, mScale); }
  int WindowWidth() const;
  int WindowHeight() const;
  // The bytes of the resampled strip images held for the scale, and of the decoded
  // images the strips are drawn from at it.
  size_t ScaledImageBytes() const;
  size_t SourceImageBytes() const;

  // The image of resource id from the process-wide cache, decoded on first use, as
  // a strip of nFrames vertical frames. A missing or undecodable image gives a strip
  // without a bitmap (its size 0 x 0), which draws as nothing. id2x (file name
  // fileName2x, which must outlive the editor) is the same image at twice the size,
  // which scales above 1 draw from; -1 for none.
  IBitmapStrip LoadBitmapStrip(int id, const char* fileName, int nFrames, int id2x = -1,
                               const char* fileName2x = nullptr);
  // Appends the control, taking ownership; its index, or -1 (the control deleted)
  // when the list cannot grow.
  int AddControl(IControl* control);
  // Inserts the control at index 0, taking ownership; the control, or null (the
  // control deleted) when the list cannot grow.
  IControl* AddBackground(IControl* control);
  int NControls() const { return mControls.GetCount(); }
  IControl* GetControl(int index) const { return mControls.Get(index); }
  // Receives the keys that reach no control; owned. Replaces (deletes) an earlier one.
  void SetKeyCatcher(IControl* control);

  // ---- From the plug-in ----
  // Pushes a parameter's value into every control bound to it (and the first
  // matching linked parameter of each control). A plain value is normalised first
  // with the parameter's rule (clamped into its range).
  void ShowParamValue(int paramIdx, double value, bool normalized) override;
  // Makes the draw bitmap (the window's size) and the empty scratch bitmap.
  void CreateBackingBitmaps() override;
  // The off-screen surface; null before CreateBackingBitmaps.
  LICE_IBitmap* GetDrawBitmap() const;

  // ---- Drawing ----
  // Draws every visible control whose device rectangle touches r (device pixels),
  // back to front, marks every control clean and presents r. True without presenting
  // when there are no controls.
  bool Draw(const IRectangle& r);
  // Blends the part of dest (logical) inside the draw rectangle from strip's bitmap at
  // (srcX, srcY) (the image position of dest's top-left corner) into the draw
  // bitmap. At a scale other than 1 dest's device rectangle is drawn from the strip's
  // frames at that scale: the frame holding (srcX, srcY), from the scaled position of
  // (srcX, srcY) in it. blend: null for normal at weight 1. False, drawing nothing,
  // without a strip bitmap, its frames at the scale or a draw bitmap.
  bool DrawBitmap(const IBitmapStrip& strip, const IRectangle& dest, int srcX, int srcY, const IBlend* blend);
  // Asks the user for param's value: a menu of its display texts for enumerations
  // (and booleans with texts), else a text entry with the current value.
  void AskParamValue(IControl* control, IParamRecord* param, const IRectangle& r);
  const IRectangle& GetDrawRect() const { return mDrawRect; }

  // ---- Redraw check of the window's timer ----
  // The union of the dirty controls' device rectangles; false when none is dirty.
  bool CollectDirtyRect(IRectangle& dirty);
  // MarkDirty(false) on every control (when a window opens).
  void SetAllControlsDirty();

  // ---- Events from the platform layer, in device pixels ----
  // Positions reach the controls in logical pixels, (floor(x / scale),
  // floor(y / scale)); the host's parameter menu opens at the device position.
  // A press on a bound control begins a gesture on its parameter (a right press
  // opens the host's parameter menu instead); the release ends it, wherever the
  // pointer is. A double-click reset is a gesture of its own.
  void OnMouseDown(int x, int y, const IMouseModifiers& mod);
  void OnMouseUp(int x, int y, const IMouseModifiers& mod);
  void OnMouseDrag(int x, int y, const IMouseModifiers& mod);
  // True when the control takes the double click as a press: the platform then
  // captures the mouse.
  bool OnMouseDoubleClick(int x, int y, const IMouseModifiers& mod);
  void OnMouseWheel(int x, int y, const IMouseModifiers& mod, int detents);
  // False at once while mouse-over handling is off (the default).
  bool OnMouseOver(int x, int y, const IMouseModifiers& mod);
  // The target's answer; false when no control takes the key.
  bool OnKeyDown(int x, int y, int key);

  int GetMouseCapture() const { return mMouseCapture; }
  int GetMouseOver() const { return mMouseOver; }
  int GetMouseX() const { return mMouseX; }
  int GetMouseY() const { return mMouseY; }
  void SetMouseOverIndex(int index) { mMouseOver = index; }
  // Capture := -1, mouse position := -1 (before a popup menu takes the mouse).
  void ReleaseMouseCapture();
  // The window that took the mouse goes away: an open gesture ends (the plug-in's
  // EndParamGesture) and the capture is released.
  void EndMouseInteraction();
  bool HandlesMouseOver() const { return mHandleMouseOver; }
  void SetHandleMouseOver(bool on) { mHandleMouseOver = on; }

  // ---- The host's event loop (where the host owns it; not owned) ----
  // Set by the editor view before OpenWindow and cleared after CloseWindow; a window
  // layer that needs the loop opens no window without it.
  void SetRunLoop(IEditorRunLoop* runLoop) { mRunLoop = runLoop; }
  IEditorRunLoop* GetRunLoop() const { return mRunLoop; }

protected:
  bool mCursorHidden = false;
  int mSavedCursorX = -1;
  int mSavedCursorY = -1;

private:
  enum HitPurpose
  {
    kHitForClick,
    kHitForMouseOver
  };

  // The highest control that is not hidden, can be reached (not grayed, or for
  // mouse-over marked so) and is hit; -1 for none.
  int HitControl(int x, int y, HitPurpose purpose);
  // The captured control, else the hit one (for clicks); -1 for none.
  int CapturedOrHit(int x, int y);
  // Gestures are bracketed by the editor: one begun by a press (or a double click)
  // is ended by the release, or by the next press when no release came.
  void BeginGesture(int paramIdx);
  void EndGesture();
  void AskParamFromMenu(IControl* control, IParamRecord* param, const IRectangle& r);
  void AskParamFromText(IControl* control, IParamRecord* param, const IRectangle& r);
  int ToLogical(int v) const;
  // The decoded image of id from the process-wide cache (decoded and added on first use).
  LICE_IBitmap* CachedImage(int id, const char* fileName);
  // The scaled images of strip, entered (with no 2x image) when it is new; null when
  // the list cannot grow.
  IScaledStrip* ScaledFor(const IBitmapStrip& strip, int id2x = -1, const char* fileName2x = nullptr);
  bool RenderScaled(IScaledStrip& scaled);
  bool DrawScaledBitmap(const IBitmapStrip& strip, const IRectangle& dest, int srcX, int srcY, int mode, float weight);

  IPlugBase* mPlug;
  const IImageSource* mImages = nullptr;
  unsigned int mBorderColor = 0;
  PtrList<IControl> mControls;
  IRectangle mDrawRect;
  std::unique_ptr<LICE_SysBitmap> mDrawBitmap;
  std::unique_ptr<LICE_MemBitmap> mScratchBitmap;
  int mWidth;
  int mHeight;
  int mFrameRate;
  double mScale = 1.0;
  PtrList<IScaledStrip> mScaledStrips;
  int mMouseCapture = -1;
  int mMouseOver = -1;
  int mMouseX = 0;
  int mMouseY = 0;
  bool mHandleMouseOver = false;
  // The parameter whose gesture a press began, ended by the release; -1 for none.
  int mGestureParam = -1;
  std::unique_ptr<IControl> mKeyCatcher;
  IEditorRunLoop* mRunLoop = nullptr;
};
