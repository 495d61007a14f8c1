#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "IControl.h"
#include "IGraphicsFactory.h"
#include "IGraphicsWin.h"
#include "IParamRecord.h"
#include "LICE_FillRect.h"
#include "LICE_IBitmap.h"
#include "TestPlug.h"
#include "WinResourceImages.h"

// The editor window driven with messages sent straight to it, inside a top-level
// test window, with its pixels read back from the screen.

namespace
{
// A control that fills its rectangle with its colour and records what reaches it.
class ColorControl : public IControl
{
public:
  ColorControl(IPlugBase* plug, const IRectangle& r, LICE_pixel fill, int paramIdx = -1)
    : IControl(plug, r, paramIdx, IBlend())
    , color(fill)
  {
  }

  bool Draw(IGraphics* graphics) override
  {
    const IRectangle& r = GetRect();
    LICE_FillRect(graphics->GetDrawBitmap(), r.L, r.T, r.W(), r.H(), color, 1.0f, 0);
    return true;
  }
  void OnMouseDown(int x, int y, const IMouseModifiers& mod) override { Record("down", x, y, mod); }
  void OnMouseUp(int x, int y, const IMouseModifiers& mod) override { Record("up", x, y, mod); }
  void OnMouseDrag(int x, int y, int dX, int dY, const IMouseModifiers& mod) override
  {
    Record("drag " + std::to_string(dX) + " " + std::to_string(dY), x, y, mod);
  }
  void OnMouseWheel(int x, int y, const IMouseModifiers& mod, int detents) override
  {
    Record("wheel " + std::to_string(detents), x, y, mod);
  }
  bool OnKeyDown(int, int, int key) override
  {
    keys.push_back(key);
    return key != declinedKey;
  }
  void SetValueFromUser(double normalized) override
  {
    userValues.push_back(normalized);
    IControl::SetValueFromUser(normalized);
  }
  void SetTextFromEntry(const char* text) override { entryTexts.push_back(text); }

  LICE_pixel color;
  int declinedKey = -1;
  std::vector<std::string> events;
  std::vector<int> keys;
  std::vector<double> userValues;
  std::vector<std::string> entryTexts;

private:
  void Record(const std::string& what, int x, int y, const IMouseModifiers& mod)
  {
    std::string flags;
    if (mod.L) flags += "L";
    if (mod.R) flags += "R";
    if (mod.S) flags += "S";
    if (mod.C) flags += "C";
    events.push_back(what + " " + std::to_string(x) + " " + std::to_string(y) + " " + flags);
  }
};

// The gesture calls the plug-in received, in order.
std::vector<std::string> Gestures(const TestPlug& plug)
{
  std::vector<std::string> out;
  for (const std::string& call : plug.calls)
    if (call.rfind("begin ", 0) == 0 || call.rfind("end ", 0) == 0) out.push_back(call);
  return out;
}

std::vector<WPARAM> gParentKeys;

LRESULT CALLBACK ParentProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam)
{
  if (msg == WM_KEYDOWN) gParentKeys.push_back(wParam);
  return DefWindowProcA(window, msg, wParam, lParam);
}

constexpr LICE_pixel kGray = 0xFF808080, kRed = 0xFFFF0000, kGreen = 0xFF00FF00, kBlue = 0xFF0000FF;
constexpr LICE_pixel kWhite = 0xFFFFFFFF, kYellow = 0xFFFFFF00, kCyan = 0xFF00FFFF, kMagenta = 0xFFFF00FF;

bool ClassRegistered()
{
  WNDCLASSA info;
  return GetClassInfoA(GetModuleHandleA(nullptr), IGraphicsWin::kWindowClass, &info) != 0;
}

class IGraphicsWinTest : public ::testing::Test
{
protected:
  static void SetUpTestSuite()
  {
    WNDCLASSA parentClass = {};
    parentClass.lpfnWndProc = ParentProc;
    parentClass.hInstance = GetModuleHandleA(nullptr);
    parentClass.lpszClassName = "MeroTestParent";
    RegisterClassA(&parentClass);
    // One parent for all: wine takes seconds to destroy a visible top-level window.
    parent = CreateWindowExA(0, "MeroTestParent", "", WS_POPUP | WS_VISIBLE, 0, 0, 300, 300, nullptr, nullptr,
                             GetModuleHandleA(nullptr), nullptr);
  }

  static void TearDownTestSuite() { DestroyWindow(parent); }

  void SetUp() override
  {
    gParentKeys.clear();
    ASSERT_NE(parent, nullptr);
    plug.GetParamRecord(0)->DefineInteger("Int", 0, 0, 20);
    plug.GetParamRecord(1)->DefineContinuous("Cont", 0.0, 0.0, 2.0, 0.01);
    graphics = std::make_unique<IGraphicsWin>(&plug, 200, 200, 25, GetModuleHandleA(nullptr));
    graphics->SetImageSource(&images);
  }

  void TearDown() override { graphics.reset(); }

  // Background, a control bound to parameter 0 and an unbound one, then the window.
  void OpenEditor()
  {
    background = Add(IRectangle(0, 0, 200, 200), kGray, -1);
    bound = Add(IRectangle(10, 10, 30, 30), kRed, 0);
    unbound = Add(IRectangle(50, 50, 70, 70), kGreen, -1);
    graphics->CreateBackingBitmaps();
    editor = static_cast<HWND>(graphics->OpenWindow(parent));
    ASSERT_NE(editor, nullptr);
  }

  ColorControl* Add(const IRectangle& r, LICE_pixel color, int paramIdx)
  {
    ColorControl* control = new ColorControl(&plug, r, color, paramIdx);
    graphics->AddControl(control);
    return control;
  }

  LRESULT Send(UINT msg, WPARAM wParam, LPARAM lParam) { return SendMessageA(editor, msg, wParam, lParam); }
  void Tick() { Send(WM_TIMER, IGraphicsWin::kTimerId, 0); }

  // The window's pixel as 0xAARRGGBB with alpha 0xFF.
  LICE_pixel ScreenPixel(int x, int y)
  {
    HDC dc = GetDC(editor);
    const COLORREF c = GetPixel(dc, x, y);
    ReleaseDC(editor, dc);
    return 0xFF000000 | (LICE_pixel)GetRValue(c) << 16 | (LICE_pixel)GetGValue(c) << 8 | GetBValue(c);
  }

  // A wheel message at editor position (x, y), which the message gives in screen pixels.
  void Wheel(int delta, int x, int y)
  {
    RECT r;
    GetWindowRect(editor, &r);
    Send(WM_MOUSEWHEEL, MAKEWPARAM(0, (WORD)(short)delta), MAKELPARAM(r.left + x, r.top + y));
  }

  HWND OpenEntry(ColorControl* control, int paramIdx)
  {
    graphics->OpenTextEntry(control, control->GetTextStyle(), control->GetRect(), "0",
                            paramIdx >= 0 ? plug.GetParamRecord(paramIdx) : nullptr);
    return graphics->GetTextEntryWindow();
  }

  static void Type(HWND entry, const char* text)
  {
    for (const char* c = text; *c; ++c) SendMessageA(entry, WM_CHAR, (WPARAM)(unsigned char)*c, 0);
  }

  static std::string Text(HWND window)
  {
    char text[64] = "";
    GetWindowTextA(window, text, sizeof(text));
    return text;
  }

  TestPlug plug;
  WinResourceImages images{nullptr};
  std::unique_ptr<IGraphicsWin> graphics;
  static HWND parent;
  HWND editor = nullptr;
  ColorControl* background = nullptr;
  ColorControl* bound = nullptr;
  ColorControl* unbound = nullptr;
};
HWND IGraphicsWinTest::parent = nullptr;
}  // namespace

TEST_F(IGraphicsWinTest, WindowClassIsRegisteredOnceForEditorsOpenTogether)
{
  ASSERT_FALSE(ClassRegistered());
  IGraphicsWin second(&plug, 100, 100, 25, GetModuleHandleA(nullptr));
  HWND first = static_cast<HWND>(graphics->OpenWindow(parent));
  HWND other = static_cast<HWND>(second.OpenWindow(parent));
  ASSERT_NE(first, nullptr);
  ASSERT_NE(other, nullptr);
  EXPECT_EQ(IGraphicsWin::OpenWindowCount(), 2);
  EXPECT_EQ(graphics->OpenWindow(parent) != nullptr, true) << "reopening keeps one window";
  EXPECT_EQ(IGraphicsWin::OpenWindowCount(), 2);

  graphics->CloseWindow();
  EXPECT_EQ(IGraphicsWin::OpenWindowCount(), 1);
  EXPECT_TRUE(ClassRegistered());
  EXPECT_TRUE(IsWindow(other));
  second.CloseWindow();
  EXPECT_EQ(IGraphicsWin::OpenWindowCount(), 0);
  EXPECT_FALSE(ClassRegistered());

  HWND closedByDestructor = nullptr;
  {
    IGraphicsWin third(&plug, 100, 100, 25, GetModuleHandleA(nullptr));
    closedByDestructor = static_cast<HWND>(third.OpenWindow(parent));
    ASSERT_NE(closedByDestructor, nullptr);
  }
  EXPECT_FALSE(IsWindow(closedByDestructor));
  EXPECT_EQ(IGraphicsWin::OpenWindowCount(), 0);
  EXPECT_FALSE(ClassRegistered());

  EXPECT_EQ(graphics->OpenWindow(nullptr), nullptr) << "a child window needs a parent";
  EXPECT_EQ(IGraphicsWin::OpenWindowCount(), 0);
  EXPECT_FALSE(ClassRegistered());
}

TEST_F(IGraphicsWinTest, TimerPresentsOnlyTheUnionOfDirtyControls)
{
  OpenEditor();
  ColorControl* outside = Add(IRectangle(120, 120, 140, 140), kBlue, -1);
  graphics->SetAllControlsDirty();
  Tick();
  EXPECT_EQ(ScreenPixel(15, 15), kRed);
  EXPECT_EQ(ScreenPixel(60, 60), kGreen);
  EXPECT_EQ(ScreenPixel(130, 130), kBlue);
  EXPECT_EQ(ScreenPixel(100, 20), kGray);

  // Everything changes colour, but only the two middle controls are dirty: their
  // union (10, 10, 70, 70) is redrawn, the background included, and nothing else
  // reaches the screen although the background fills the whole draw bitmap.
  background->color = kWhite;
  bound->color = kYellow;
  unbound->color = kCyan;
  outside->color = kMagenta;
  bound->MarkDirty(false);
  unbound->MarkDirty(false);
  Tick();
  EXPECT_EQ(ScreenPixel(15, 15), kYellow);
  EXPECT_EQ(ScreenPixel(60, 60), kCyan);
  EXPECT_EQ(ScreenPixel(40, 40), kWhite);
  EXPECT_EQ(ScreenPixel(69, 69), kCyan);
  EXPECT_EQ(ScreenPixel(70, 70), kGray);
  EXPECT_EQ(ScreenPixel(100, 20), kGray);
  EXPECT_EQ(ScreenPixel(130, 130), kBlue);
  EXPECT_FALSE(bound->IsDirty());

  // A draw outside a paint still reaches the screen, and the timer goes on working.
  graphics->Draw(IRectangle(120, 120, 140, 140));
  EXPECT_EQ(ScreenPixel(130, 130), kMagenta);
  bound->color = kBlue;
  bound->MarkDirty(false);
  Tick();
  EXPECT_EQ(ScreenPixel(15, 15), kBlue);
}

TEST_F(IGraphicsWinTest, PaintWithoutControlsStillValidatesTheWindow)
{
  graphics->CreateBackingBitmaps();
  editor = static_cast<HWND>(graphics->OpenWindow(parent));
  ASSERT_NE(editor, nullptr);
  InvalidateRect(editor, nullptr, FALSE);
  UpdateWindow(editor);
  RECT update;
  EXPECT_FALSE(GetUpdateRect(editor, &update, FALSE));
}

TEST_F(IGraphicsWinTest, PressesCaptureAndReleasesEndGestures)
{
  OpenEditor();
  Send(WM_RBUTTONDOWN, MK_RBUTTON | MK_SHIFT, MAKELPARAM(55, 55));
  EXPECT_EQ(GetCapture(), editor);
  Send(WM_RBUTTONUP, 0, MAKELPARAM(56, 57));
  EXPECT_EQ(GetCapture(), nullptr);
  EXPECT_EQ(unbound->events, (std::vector<std::string>{"down 55 55 RS", "up 56 57 "}));

  // A drag reaches the control only while the window holds the capture.
  Send(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(15, 15));
  Send(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(20, 18));
  ReleaseCapture();
  Send(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(25, 25));
  Send(WM_LBUTTONUP, 0, MAKELPARAM(25, 25));
  EXPECT_EQ(bound->events, (std::vector<std::string>{"down 15 15 L", "drag 5 3 20 18 L", "up 25 25 "}));

  // The middle button too ends the gesture it began and gives the capture back.
  Send(WM_MBUTTONDOWN, MK_MBUTTON, MAKELPARAM(15, 15));
  EXPECT_EQ(GetCapture(), editor);
  Send(WM_MBUTTONUP, 0, MAKELPARAM(15, 15));
  EXPECT_EQ(GetCapture(), nullptr);
  EXPECT_EQ(Gestures(plug), (std::vector<std::string>{"begin 0", "end 0", "begin 0", "end 0"}));
}

TEST_F(IGraphicsWinTest, MessagesReachOnlyTheEditorWhoseWindowTheyAreFor)
{
  OpenEditor();
  IGraphicsWin other(&plug, 100, 100, 25, GetModuleHandleA(nullptr));
  ColorControl* otherControl = new ColorControl(&plug, IRectangle(0, 0, 100, 100), kRed);
  other.AddControl(otherControl);
  ASSERT_NE(other.OpenWindow(parent), nullptr);
  SetWindowLongPtrA(editor, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&other));
  Send(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(55, 55));
  EXPECT_TRUE(otherControl->events.empty());
  EXPECT_TRUE(unbound->events.empty());

  SetWindowLongPtrA(editor, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(graphics.get()));
  Send(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(55, 55));
  EXPECT_EQ(unbound->events.size(), 1u);
  ReleaseCapture();
}

TEST_F(IGraphicsWinTest, MadeByTheFactoryOnWindows)
{
  std::unique_ptr<IGraphics> made(MakeGraphics(&plug, 255, 658, 25, GetModuleHandleA(nullptr)));
  ASSERT_NE(dynamic_cast<IGraphicsWin*>(made.get()), nullptr);
  EXPECT_EQ(made->Width(), 255);
  EXPECT_EQ(made->FrameRate(), 25);
}

TEST_F(IGraphicsWinTest, WheelDeltaBecomesWholeDetentsAtEditorPosition)
{
  OpenEditor();
  Wheel(60, 55, 56);
  Wheel(-240, 60, 61);
  Wheel(-119, 60, 61);
  EXPECT_EQ(unbound->events, (std::vector<std::string>{"wheel 0 55 56 ", "wheel -2 60 61 ", "wheel 0 60 61 "}));
}

TEST_F(IGraphicsWinTest, KeysGoToTheControlOrOnToTheRootWindow)
{
  OpenEditor();
  Send(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(55, 55));  // captures the control
  unbound->declinedKey = 16;
  Send(WM_KEYDOWN, 'A', 0);
  Send(WM_KEYDOWN, 0x61, 0);
  Send(WM_KEYDOWN, 'B', 0);
  Send(WM_KEYDOWN, VK_RETURN, 0);
  EXPECT_EQ(unbound->keys, (std::vector<int>{15, 15, 16}));
  EXPECT_EQ(gParentKeys, (std::vector<WPARAM>{'B', VK_RETURN}));
}

TEST_F(IGraphicsWinTest, TextEntryFiltersCharactersByParameterKind)
{
  OpenEditor();
  HWND entry = OpenEntry(bound, 0);
  ASSERT_NE(entry, nullptr);
  EXPECT_EQ(graphics->GetTextEntryState(), WinTextEntry::kEditing);
  Type(entry, "1.5");
  EXPECT_EQ(Text(entry), "15");
  SendMessageA(entry, WM_KEYDOWN, VK_RETURN, 0);
  EXPECT_EQ(graphics->GetTextEntryState(), WinTextEntry::kCommit);
  HFONT font = (HFONT)SendMessageA(entry, WM_GETFONT, 0, 0);
  EXPECT_EQ(GetObjectType(font), (DWORD)OBJ_FONT);
  Tick();
  EXPECT_EQ(graphics->GetTextEntryWindow(), nullptr);
  EXPECT_FALSE(IsWindow(entry));
  EXPECT_EQ(GetObjectType(font), 0u) << "the entry's font goes with it";
  EXPECT_EQ(bound->userValues, (std::vector<double>{0.75}));

  entry = OpenEntry(bound, 1);
  ASSERT_NE(entry, nullptr);
  Type(entry, "1.5");
  EXPECT_EQ(Text(entry), "1.5");
  SendMessageA(entry, WM_KEYDOWN, VK_RETURN, 0);
  Tick();
  EXPECT_EQ(bound->userValues, (std::vector<double>{0.75, 0.75}));

  entry = OpenEntry(bound, -1);
  Type(entry, "x.");
  SendMessageA(entry, WM_KEYDOWN, VK_RETURN, 0);
  Tick();
  EXPECT_EQ(bound->entryTexts, (std::vector<std::string>{"x."}));
}

TEST_F(IGraphicsWinTest, TextEntryCancelsOnEscapeOrAClickWhileTyping)
{
  OpenEditor();
  HWND entry = OpenEntry(bound, 0);
  ASSERT_NE(entry, nullptr);
  Type(entry, "7");
  SendMessageA(entry, WM_KEYDOWN, VK_ESCAPE, 0);
  Tick();
  EXPECT_FALSE(IsWindow(entry));

  entry = OpenEntry(bound, 0);
  ASSERT_EQ(graphics->GetTextEntryState(), WinTextEntry::kEditing);
  Type(entry, "7");
  Send(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(55, 55));
  EXPECT_EQ(graphics->GetTextEntryState(), WinTextEntry::kCancel);
  Tick();
  EXPECT_FALSE(IsWindow(entry));
  EXPECT_TRUE(bound->userValues.empty());
  EXPECT_TRUE(unbound->events.empty());
}

TEST_F(IGraphicsWinTest, TextEntryCommitsWhenFocusLeavesAndSwallowsTheNextPress)
{
  OpenEditor();
  HWND entry = OpenEntry(bound, 0);
  ASSERT_NE(entry, nullptr);
  Type(entry, "4");
  SetFocus(editor);
  EXPECT_EQ(graphics->GetTextEntryState(), WinTextEntry::kCommit);
  Send(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(55, 55));
  EXPECT_TRUE(unbound->events.empty());
  Tick();
  EXPECT_FALSE(IsWindow(entry));
  ASSERT_EQ(bound->userValues.size(), 1u);
  EXPECT_DOUBLE_EQ(bound->userValues[0], 0.2);
}

TEST_F(IGraphicsWinTest, TextEntryHasItsStyleColoursWhileTheUserTypes)
{
  OpenEditor();
  bound->GetTextStyle().entryBackground = IArgbColor{255, 10, 20, 30};
  bound->GetTextStyle().entryForeground = IArgbColor{255, 200, 100, 50};
  HWND entry = OpenEntry(bound, 0);
  ASSERT_EQ(graphics->GetTextEntryState(), WinTextEntry::kEditing);
  HDC dc = CreateCompatibleDC(nullptr);
  const LRESULT brush = Send(WM_CTLCOLOREDIT, (WPARAM)dc, (LPARAM)entry);
  EXPECT_EQ(brush, (LRESULT)GetStockObject(DC_BRUSH));
  EXPECT_EQ(GetBkColor(dc), RGB(10, 20, 30));
  EXPECT_EQ(GetDCBrushColor(dc), RGB(10, 20, 30));
  EXPECT_EQ(GetTextColor(dc), RGB(200, 100, 50));
  DeleteDC(dc);
}

TEST_F(IGraphicsWinTest, ResizeClosesTheEntryOfTheControlsItDeletes)
{
  OpenEditor();
  HWND entry = OpenEntry(bound, 0);
  ASSERT_NE(entry, nullptr);
  Type(entry, "3");
  graphics->Resize(150, 120);
  EXPECT_FALSE(IsWindow(entry));
  EXPECT_EQ(graphics->GetTextEntryWindow(), nullptr);
  EXPECT_EQ(graphics->NControls(), 0);
  RECT r;
  GetClientRect(editor, &r);
  EXPECT_EQ(r.right, 150);
  EXPECT_EQ(r.bottom, 120);
}

TEST_F(IGraphicsWinTest, ClipboardTextIsReadAsUtf8AndTheClipboardLeftAsFound)
{
  OpenEditor();
  ASSERT_TRUE(OpenClipboard(parent));
  EmptyClipboard();
  const wchar_t text[] = L"Gr\u00FC\u00DFe";
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, sizeof(text));
  memcpy(GlobalLock(block), text, sizeof(text));
  GlobalUnlock(block);
  ASSERT_NE(SetClipboardData(CF_UNICODETEXT, block), nullptr);

  // Held open by another window: nothing is read and the holder keeps it open.
  PlugString out("old");
  EXPECT_FALSE(graphics->ReadClipboardText(out));
  EXPECT_STREQ(out.Get(), "");
  EXPECT_TRUE(CloseClipboard());

  EXPECT_TRUE(graphics->ReadClipboardText(out));
  EXPECT_STREQ(out.Get(), "Gr\xC3\xBC\xC3\x9F"
                          "e");
}

TEST_F(IGraphicsWinTest, ImagesComeFromPngResourcesOnly)
{
  std::unique_ptr<LICE_IBitmap> image(graphics->LoadImageResource(201, "panel.PNG"));
  ASSERT_NE(image, nullptr);
  ASSERT_EQ(image->getWidth(), 3);
  ASSERT_EQ(image->getHeight(), 2);
  const LICE_pixel* row1 = image->getBits() + image->getRowSpan();
  EXPECT_EQ(image->getBits()[0], 0xFFFF0000u);
  EXPECT_EQ(image->getBits()[2], 0xFF0000FFu);
  EXPECT_EQ(row1[0], 0x280A141Eu);
  EXPECT_EQ(row1[2], 0xFF010203u);

  EXPECT_EQ(graphics->LoadImageResource(201, "panel.bmp"), nullptr);
  EXPECT_EQ(graphics->LoadImageResource(201, "png"), nullptr);
  EXPECT_EQ(graphics->LoadImageResource(201, nullptr), nullptr);
  EXPECT_EQ(graphics->LoadImageResource(999, "panel.png"), nullptr);
  EXPECT_EQ(graphics->LoadImageResource(202, "short.png"), nullptr);
}
