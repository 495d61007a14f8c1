#include "IGraphics.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <new>

#include "IBitmapCache.h"
#include "IControl.h"
#include "IEditorText.h"
#include "IImageSource.h"
#include "IParamRecord.h"
#include "IPlugBase.h"
#include "IScaledStrip.h"
#include "LICE_Blend.h"
#include "LICE_Blit.h"
#include "LICE_MemBitmap.h"
#include "LICE_PNG.h"
#include "LICE_SysBitmap.h"

namespace
{

// The plug-in API code of the VST 3 binding: a right press on a bound control opens
// the host's parameter menu there.
constexpr int kApiVst3 = 1;

int TruncToInt(double v)
{
  if (!(v > -2147483648.0)) return v != v ? 0 : -2147483647 - 1;
  if (v >= 2147483647.0) return 2147483647;
  return static_cast<int>(v);
}

// fileName ends in ".png", in any case.
bool NamesPng(const char* fileName)
{
  const char* dot = fileName ? std::strrchr(fileName, '.') : nullptr;
  if (!dot) return false;
  const char* png = "png";
  for (int i = 0; i < 4; ++i)
  {
    const char c = dot[1 + i];
    const char lower = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    if (lower != png[i]) return false;
  }
  return true;
}

// Halves up. A product of a scale with a length that misses a half by rounding error
// alone (the scale computed as a product itself) counts as the half.
int RoundHalfUp(double v)
{
  return static_cast<int>(std::floor(v + 0.5 + 1e-9));
}

}  // namespace

IGraphics::IGraphics(IPlugBase* plug, int width, int height, int frameRate)
  : mPlug(plug)
  , mWidth(width)
  , mHeight(height)
  , mFrameRate(frameRate)
{
}

IGraphics* IGraphics::Of(const IPlugBase* plug)
{
  return plug ? dynamic_cast<IGraphics*>(plug->GetGUI()) : nullptr;
}

LICE_IBitmap* IGraphics::LoadImageResource(int id, const char* fileName)
{
  const void* data = nullptr;
  int size = 0;
  if (!mImages || !NamesPng(fileName) || !mImages->FindImage(id, data, size) || size < 8) return nullptr;
  return LICE_LoadPNGFromMemory(data, size);
}

IGraphics::~IGraphics()
{
  mKeyCatcher.reset();
  mControls.Empty();
  mScaledStrips.Empty();
  mDrawBitmap.reset();
  mScratchBitmap.reset();
}

bool IGraphics::SetScale(double scale)
{
  if (!(scale > 0.0) || !std::isfinite(scale)) return false;
  scale = std::clamp(scale, kMinScale, kMaxScale);
  if (scale == mScale) return true;
  mScale = scale;
  for (int i = 0; i < mScaledStrips.GetCount(); ++i) RenderScaled(*mScaledStrips.Get(i));
  if (mDrawBitmap) mDrawBitmap.reset(new (std::nothrow) LICE_SysBitmap(WindowWidth(), WindowHeight()));
  SetAllControlsDirty();
  return true;
}

IRectangle IGraphics::DeviceRect(const IRectangle& r, double scale)
{
  if (scale == 1.0) return r;
  const int left = RoundHalfUp(r.L * scale), top = RoundHalfUp(r.T * scale);
  return IRectangle(left, top, left + RoundHalfUp(r.W() * scale), top + RoundHalfUp(r.H() * scale));
}

int IGraphics::WindowWidth() const
{
  return DeviceRect(IRectangle(0, 0, mWidth, mHeight)).R;
}

int IGraphics::WindowHeight() const
{
  return DeviceRect(IRectangle(0, 0, mWidth, mHeight)).B;
}

size_t IGraphics::ScaledImageBytes() const
{
  size_t bytes = 0;
  for (int i = 0; i < mScaledStrips.GetCount(); ++i) bytes += mScaledStrips.Get(i)->CopyBytes();
  return bytes;
}

size_t IGraphics::SourceImageBytes() const
{
  size_t bytes = 0;
  for (int i = 0; i < mScaledStrips.GetCount(); ++i) bytes += mScaledStrips.Get(i)->SourceBytes();
  return bytes;
}

int IGraphics::ToLogical(int v) const
{
  return mScale == 1.0 ? v : static_cast<int>(std::floor(v / mScale));
}

bool IGraphics::MeasureText(ITextStyle& style, const char* text, IRectangle& r)
{
  return IEditorText::MeasureText(style, text, r, GetDrawBitmap());
}

void IGraphics::Resize(int width, int height)
{
  mWidth = width;
  mHeight = height;
  EndGesture();
  mMouseCapture = -1;
  mMouseOver = -1;
  mControls.Empty();
  mDrawBitmap.reset();
  mScratchBitmap.reset();
  CreateBackingBitmaps();
  if (mPlug) mPlug->ResizeEditor(WindowWidth(), WindowHeight());
}

bool IGraphics::IsWindowOpen()
{
  return GetWindowHandle() != nullptr;
}

const char* IGraphics::GetApiName()
{
  return "";
}

LICE_IBitmap* IGraphics::CachedImage(int id, const char* fileName)
{
  IBitmapCache& cache = IBitmapCache::Instance();
  LICE_IBitmap* bitmap = cache.Find(id);
  return bitmap ? bitmap : cache.Add(id, LoadImageResource(id, fileName));
}

IBitmapStrip IGraphics::LoadBitmapStrip(int id, const char* fileName, int nFrames, int id2x, const char* fileName2x)
{
  LICE_IBitmap* bitmap = CachedImage(id, fileName);
  IBitmapStrip strip;
  strip.bitmap = bitmap;
  if (bitmap)
  {
    strip.w = bitmap->getWidth();
    strip.h = bitmap->getHeight();
  }
  strip.n = nFrames;
  strip.framesHorizontal = false;
  if (bitmap) ScaledFor(strip, id2x, fileName2x);
  return strip;
}

IScaledStrip* IGraphics::ScaledFor(const IBitmapStrip& strip, int id2x, const char* fileName2x)
{
  for (int i = 0; i < mScaledStrips.GetCount(); ++i)
    if (mScaledStrips.Get(i)->Shows(strip)) return mScaledStrips.Get(i);
  IScaledStrip* scaled = new (std::nothrow) IScaledStrip(strip, id2x, fileName2x);
  if (!scaled || !mScaledStrips.Add(scaled))
  {
    delete scaled;
    return nullptr;
  }
  RenderScaled(*scaled);
  return scaled;
}

bool IGraphics::RenderScaled(IScaledStrip& scaled)
{
  if (mScale > 1.0 && !scaled.HasDouble() && scaled.DoubleId() >= 0)
    scaled.SetDouble(CachedImage(scaled.DoubleId(), scaled.DoubleFileName()));
  return scaled.Render(mScale);
}

int IGraphics::AddControl(IControl* control)
{
  if (!control) return -1;
  if (!mControls.Add(control))
  {
    delete control;
    return -1;
  }
  return mControls.GetCount() - 1;
}

IControl* IGraphics::AddBackground(IControl* control)
{
  if (!control) return nullptr;
  if (!mControls.Insert(0, control))
  {
    delete control;
    return nullptr;
  }
  return control;
}

void IGraphics::SetKeyCatcher(IControl* control)
{
  mKeyCatcher.reset(control);
}

void IGraphics::ShowParamValue(int paramIdx, double value, bool normalized)
{
  if (!normalized)
  {
    const IParamRecord* param = mPlug ? mPlug->GetParamRecord(paramIdx) : nullptr;
    if (!param) return;
    value = param->ToNormalized(value);
  }
  const int count = mControls.GetCount();
  for (int i = 0; i < count; ++i)
  {
    IControl* control = mControls.Get(i);
    if (control->ParamIdx() == paramIdx) control->SetValueFromParam(value);
    const int nLinked = control->NLinkedParams();
    for (int k = 0; k < nLinked; ++k)
    {
      if (control->LinkedParamIdx(k) == paramIdx)
      {
        control->SetLinkedValueFromParam(k, value);
        break;
      }
    }
  }
}

void IGraphics::CreateBackingBitmaps()
{
  mDrawBitmap.reset(new (std::nothrow) LICE_SysBitmap(WindowWidth(), WindowHeight()));
  mScratchBitmap.reset(new (std::nothrow) LICE_MemBitmap());
}

LICE_IBitmap* IGraphics::GetDrawBitmap() const
{
  return mDrawBitmap.get();
}

bool IGraphics::Draw(const IRectangle& r)
{
  const int count = mControls.GetCount();
  if (count == 0) return true;
  mDrawRect = r;
  for (int i = 0; i < count; ++i)
  {
    IControl* control = mControls.Get(i);
    if (!control->IsHidden() && r.Intersects(DeviceRect(control->GetRect()))) control->Draw(this);
    control->MarkClean();
  }
  return PresentToScreen(r);
}

bool IGraphics::DrawBitmap(const IBitmapStrip& strip, const IRectangle& dest, int srcX, int srcY, const IBlend* blend)
{
  LICE_IBitmap* target = GetDrawBitmap();
  if (!strip.bitmap || !target) return false;
  int mode = LICE_BLEND_COPY | LICE_BLEND_USE_SOURCE_ALPHA;
  float weight = 1.0f;
  if (blend)
  {
    weight = blend->weight;
    switch (blend->method)
    {
      case IBlend::kOpaqueCopy:
        mode = LICE_BLEND_COPY;
        break;
      case IBlend::kAdd:
        mode = LICE_BLEND_ADD | LICE_BLEND_USE_SOURCE_ALPHA;
        break;
      case IBlend::kDodge:
        mode = LICE_BLEND_DODGE | LICE_BLEND_USE_SOURCE_ALPHA;
        break;
      default:
        break;
    }
  }
  if (mScale != 1.0) return DrawScaledBitmap(strip, dest, srcX, srcY, mode, weight);
  if (!dest.Intersects(mDrawRect)) return true;
  const IRectangle v = dest.Intersect(mDrawRect);
  srcX += v.L - dest.L;
  srcY += v.T - dest.T;
  const LICE_Rect source = {srcX, srcY, srcX + v.W(), srcY + v.H()};
  LICE_Blit(target, strip.bitmap, v.L, v.T, &source, weight, mode);
  return true;
}

bool IGraphics::DrawScaledBitmap(const IBitmapStrip& strip, const IRectangle& dest, int srcX, int srcY, int mode,
                                 float weight)
{
  IScaledStrip* scaled = ScaledFor(strip);
  const int along = strip.framesHorizontal ? srcX : srcY;
  const int span = strip.framesHorizontal ? strip.FrameW() : strip.FrameH();
  const int k = span > 0 && along > 0 ? along / span : 0;
  int frameX = 0, frameY = 0, x = 0, y = 0;
  strip.FrameOffset(k + 1, frameX, frameY);
  LICE_IBitmap* image = scaled ? scaled->Frame(k, x, y) : nullptr;
  if (!image) return false;
  const IRectangle d = DeviceRect(dest);
  if (!d.Intersects(mDrawRect)) return true;
  const IRectangle v = d.Intersect(mDrawRect);
  x += RoundHalfUp((srcX - frameX) * mScale) + v.L - d.L;
  y += RoundHalfUp((srcY - frameY) * mScale) + v.T - d.T;
  const LICE_Rect source = {x, y, x + v.W(), y + v.H()};
  LICE_Blit(GetDrawBitmap(), image, v.L, v.T, &source, weight, mode);
  return true;
}

void IGraphics::AskParamValue(IControl* control, IParamRecord* param, const IRectangle& r)
{
  if (!control || !param) return;
  const int kind = param->GetType();
  if (kind == IParamRecord::kTypeEnum || (kind == IParamRecord::kTypeBool && param->GetNDisplayTexts() > 0))
    AskParamFromMenu(control, param, r);
  else
    AskParamFromText(control, param, r);
}

void IGraphics::AskParamFromMenu(IControl* control, IParamRecord* param, const IRectangle& r)
{
  char current[IParamRecord::kValueTextSize];
  param->FormatValue(param->GetValue(), current, sizeof current);
  IMenu menu;
  const int nTexts = param->GetNDisplayTexts();
  for (int i = 0; i < nTexts; ++i)
  {
    const char* text = param->GetDisplayText(i);
    if (!menu.AddItem(text, std::strcmp(text, current) == 0 ? IMenuItem::kChecked : 0)) return;
  }
  const IMenu* chosen = ShowPopupMenu(&menu, r);
  if (chosen && chosen->GetChosenIndex() >= 0) control->SetValueFromUser(param->ToNormalized(chosen->GetChosenIndex()));
}

void IGraphics::AskParamFromText(IControl* control, IParamRecord* param, const IRectangle& r)
{
  double value = param->GetValue();
  if (param->GetNegateDisplay()) value = -value;
  char text[IParamRecord::kValueTextSize];
  const int precision = param->GetPrecision();
  if (precision > 0)
    std::snprintf(text, sizeof text, "%.*f", precision, value);
  else
    std::snprintf(text, sizeof text, "%d", TruncToInt(value));
  OpenTextEntry(control, control->GetTextStyle(), r, text, param);
}

bool IGraphics::CollectDirtyRect(IRectangle& dirty)
{
  bool any = false;
  IRectangle u;
  const int count = mControls.GetCount();
  for (int i = 0; i < count; ++i)
  {
    IControl* control = mControls.Get(i);
    if (control->IsDirty())
    {
      u = u.Union(DeviceRect(control->GetRect()));
      any = true;
    }
  }
  dirty = u;
  return any;
}

void IGraphics::SetAllControlsDirty()
{
  const int count = mControls.GetCount();
  for (int i = 0; i < count; ++i) mControls.Get(i)->MarkDirty(false);
}

int IGraphics::HitControl(int x, int y, HitPurpose purpose)
{
  for (int i = mControls.GetCount() - 1; i >= 0; --i)
  {
    IControl* control = mControls.Get(i);
    if (control->IsHidden()) continue;
    if (control->IsGrayed() && !(purpose == kHitForMouseOver && control->MouseOverWhenGrayed())) continue;
    if (control->HitTest(x, y)) return i;
  }
  return -1;
}

int IGraphics::CapturedOrHit(int x, int y)
{
  return mMouseCapture >= 0 ? mMouseCapture : HitControl(x, y, kHitForClick);
}

void IGraphics::OnMouseDown(int deviceX, int deviceY, const IMouseModifiers& mod)
{
  const int x = ToLogical(deviceX), y = ToLogical(deviceY);
  EndGesture();  // a second button pressed during a drag
  ReleaseMouseCapture();
  const int index = HitControl(x, y, kHitForClick);
  IControl* control = GetControl(index);
  if (!control) return;
  mMouseCapture = index;
  mMouseX = x;
  mMouseY = y;
  const int paramIdx = control->ParamIdx();
  if (mPlug && mPlug->GetApiKind() == kApiVst3 && mod.R && paramIdx >= 0)
  {
    ReleaseMouseCapture();
    mPlug->ShowHostParamMenu(paramIdx, deviceX, deviceY);
    return;
  }
  BeginGesture(paramIdx);
  control->OnMouseDown(x, y, mod);
}

void IGraphics::OnMouseUp(int deviceX, int deviceY, const IMouseModifiers& mod)
{
  const int x = ToLogical(deviceX), y = ToLogical(deviceY);
  IControl* control = GetControl(CapturedOrHit(x, y));
  ReleaseMouseCapture();
  if (control) control->OnMouseUp(x, y, mod);
  EndGesture();
}

void IGraphics::OnMouseDrag(int deviceX, int deviceY, const IMouseModifiers& mod)
{
  const int x = ToLogical(deviceX), y = ToLogical(deviceY);
  IControl* control = GetControl(mMouseCapture);
  if (!control) return;
  const int dX = x - mMouseX, dY = y - mMouseY;
  if (dX == 0 && dY == 0) return;
  mMouseX = x;
  mMouseY = y;
  control->OnMouseDrag(x, y, dX, dY, mod);
}

bool IGraphics::OnMouseDoubleClick(int deviceX, int deviceY, const IMouseModifiers& mod)
{
  const int x = ToLogical(deviceX), y = ToLogical(deviceY);
  EndGesture();
  ReleaseMouseCapture();
  const int index = HitControl(x, y, kHitForClick);
  IControl* control = GetControl(index);
  if (!control) return false;
  if (control->DoubleClickAsClick())
  {
    mMouseCapture = index;
    mMouseX = x;
    mMouseY = y;
    BeginGesture(control->ParamIdx());
    control->OnMouseDown(x, y, mod);
    return true;
  }
  // The reset of a double click is a gesture of its own: the release that follows
  // ends nothing.
  BeginGesture(control->ParamIdx());
  control->OnMouseDoubleClick(x, y, mod);
  EndGesture();
  return false;
}

void IGraphics::OnMouseWheel(int deviceX, int deviceY, const IMouseModifiers& mod, int detents)
{
  const int x = ToLogical(deviceX), y = ToLogical(deviceY);
  IControl* control = GetControl(CapturedOrHit(x, y));
  if (!control) return;
  // Outside a press the turn is a gesture of its own, so that the host sees its changes
  // bracketed; during a press, the press's gesture holds them.
  const bool ownGesture = mGestureParam < 0;
  if (ownGesture) BeginGesture(control->ParamIdx());
  control->OnMouseWheel(x, y, mod, detents);
  if (ownGesture) EndGesture();
}

bool IGraphics::OnMouseOver(int deviceX, int deviceY, const IMouseModifiers& mod)
{
  if (!mHandleMouseOver) return false;
  const int x = ToLogical(deviceX), y = ToLogical(deviceY);
  const int index = mMouseCapture >= 0 ? mMouseCapture : HitControl(x, y, kHitForMouseOver);
  IControl* control = GetControl(index);
  if (!control) return true;
  mMouseX = x;
  mMouseY = y;
  control->OnMouseOver(x, y, mod);
  if (mMouseOver >= 0 && mMouseOver != index)
    if (IControl* previous = GetControl(mMouseOver)) previous->OnMouseOut();
  mMouseOver = index;
  return true;
}

bool IGraphics::OnKeyDown(int deviceX, int deviceY, int key)
{
  const int x = ToLogical(deviceX), y = ToLogical(deviceY);
  IControl* target = nullptr;
  if (mMouseCapture > 0)
    target = GetControl(mMouseCapture);
  else if (mMouseCapture < 0)
  {
    const int index = HitControl(x, y, kHitForClick);
    if (index > 0) target = GetControl(index);
  }
  if (!target) target = mKeyCatcher.get();
  return target ? target->OnKeyDown(x, y, key) : false;
}

void IGraphics::BeginGesture(int paramIdx)
{
  if (paramIdx < 0 || !mPlug) return;
  mGestureParam = paramIdx;
  mPlug->BeginParamGesture(paramIdx);
}

void IGraphics::EndGesture()
{
  if (mGestureParam < 0) return;
  const int paramIdx = mGestureParam;
  mGestureParam = -1;
  if (mPlug) mPlug->EndParamGesture(paramIdx);
}

void IGraphics::ReleaseMouseCapture()
{
  mMouseCapture = -1;
  mMouseX = -1;
  mMouseY = -1;
}

void IGraphics::EndMouseInteraction()
{
  EndGesture();
  ReleaseMouseCapture();
}
