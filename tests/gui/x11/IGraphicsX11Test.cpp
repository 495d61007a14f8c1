// The X11 window layer on a real X server (Xvfb under scripts/test): the child window
// in a parent the test makes, the run loop it registers with (a fake the test pumps),
// events sent with XSendEvent arriving as editor events, the dirty rectangle on the
// window read back with XGetImage, and the images compiled into the module.

#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>
#include <poll.h>

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "EmbeddedImages.h"
#include "IControl.h"
#include "IGraphicsX11.h"
#include "LICE_IBitmap.h"
#include "MEROResources.h"
#include "TestEditorPlug.h"
#include "X11KeyMap.h"
#include "X11ParentWindow.h"
#include "X11TestDisplay.h"

namespace
{
constexpr int kWidth = 60;
constexpr int kHeight = 40;

// Records every event with the modifiers it came with.
class EventControl : public IControl
{
public:
  EventControl(IPlugBase* plug, const IRectangle& rect, int paramIdx)
    : IControl(plug, rect, paramIdx, IBlend())
  {
  }
  bool Draw(IGraphics*) override { return true; }
  void OnMouseDown(int x, int y, const IMouseModifiers& mod) override { Log("down", x, y, mod); }
  void OnMouseUp(int x, int y, const IMouseModifiers& mod) override { Log("up", x, y, mod); }
  void OnMouseDrag(int x, int y, int dX, int dY, const IMouseModifiers& mod) override
  {
    Log("drag " + std::to_string(dX) + "," + std::to_string(dY), x, y, mod);
  }
  void OnMouseDoubleClick(int x, int y, const IMouseModifiers& mod) override { Log("double", x, y, mod); }
  void OnMouseWheel(int x, int y, const IMouseModifiers& mod, int detents) override
  {
    Log("wheel " + std::to_string(detents), x, y, mod);
  }
  bool OnKeyDown(int x, int y, int key) override
  {
    Log("key " + std::to_string(key), x, y, IMouseModifiers());
    return true;
  }

  std::vector<std::string> events;

private:
  void Log(const std::string& what, int x, int y, const IMouseModifiers& mod)
  {
    std::string text = what + " " + std::to_string(x) + "," + std::to_string(y);
    for (auto [on, name] : {std::pair{mod.L, " L"}, {mod.R, " R"}, {mod.S, " S"}, {mod.C, " C"}})
      if (on) text += name;
    events.push_back(text);
  }
};

// The host's loop as the test runs it: it remembers what is registered and calls it
// when the test pumps.
class FakeRunLoop : public IEditorRunLoop
{
public:
  bool AddTimer(Client* client, int milliseconds) override
  {
    if (refuseTimer) return false;
    timerClient = client;
    timerMs = milliseconds;
    return true;
  }
  void RemoveTimer(Client* client) override
  {
    if (client == timerClient) timerClient = nullptr;
  }
  bool AddReader(Client* client, int fd) override
  {
    readerClient = client;
    readerFd = fd;
    return true;
  }
  void RemoveReader(Client* client) override
  {
    if (client == readerClient) readerClient = nullptr;
  }

  void Tick()
  {
    if (timerClient) timerClient->OnTimer();
  }
  // Waits (a bounded time) for the editor's connection to have data, then lets the
  // editor read.
  void Read()
  {
    if (!readerClient) return;
    pollfd p = {readerFd, POLLIN, 0};
    poll(&p, 1, 200);
    readerClient->OnReadable(readerFd);
  }

  bool refuseTimer = false;
  Client* timerClient = nullptr;
  Client* readerClient = nullptr;
  int timerMs = -1;
  int readerFd = -1;
};

class X11Editor : public ::testing::Test
{
protected:
  void SetUp() override
  {
    MERO_REQUIRE_DISPLAY();
    mDisplay = X11TestDisplay();
    ASSERT_NE(mDisplay, nullptr) << "cannot connect to DISPLAY " << std::getenv("DISPLAY");
    mParent = std::make_unique<X11ParentWindow>(mDisplay, kWidth + 20, kHeight + 20);

    mEditor = new IGraphicsX11(&mPlug, kWidth, kHeight, 25);
    mEditor->SetImageSource(&mImages);
    mBackground = new EventControl(&mPlug, IRectangle(0, 0, kWidth, kHeight), -1);
    mControl = new EventControl(&mPlug, IRectangle(10, 10, 30, 30), 2);
    mEditor->AddBackground(mBackground);
    mEditor->AddControl(mControl);
    mPlug.AttachEditor(mEditor);  // the plug-in owns it from here
    mEditor->SetRunLoop(&mLoop);
  }

  void TearDown() override
  {
    if (mEditor) mEditor->CloseWindow();
    mParent.reset();
  }

  Window Open()
  {
    void* handle = mEditor->OpenWindow(mParent->Handle());
    return static_cast<Window>(reinterpret_cast<uintptr_t>(handle));
  }

  // Sends a button press or release (button 1 left, 3 right, 4/5 wheel) to the editor.
  void SendButton(Window window, int type, unsigned button, int x, int y, unsigned state, Time time)
  {
    XEvent event = {};
    event.xbutton.type = type;
    event.xbutton.display = mDisplay;
    event.xbutton.window = window;
    event.xbutton.root = DefaultRootWindow(mDisplay);
    event.xbutton.time = time;
    event.xbutton.x = x;
    event.xbutton.y = y;
    event.xbutton.state = state;
    event.xbutton.button = button;
    event.xbutton.same_screen = True;
    Send(window, event, type == ButtonPress ? ButtonPressMask : ButtonReleaseMask);
  }
  void SendMotion(Window window, int x, int y, unsigned state)
  {
    XEvent event = {};
    event.xmotion.type = MotionNotify;
    event.xmotion.display = mDisplay;
    event.xmotion.window = window;
    event.xmotion.x = x;
    event.xmotion.y = y;
    event.xmotion.state = state;
    event.xmotion.same_screen = True;
    Send(window, event, PointerMotionMask);
  }
  void SendKey(Window window, KeySym sym, int x, int y)
  {
    XEvent event = {};
    event.xkey.type = KeyPress;
    event.xkey.display = mDisplay;
    event.xkey.window = window;
    event.xkey.x = x;
    event.xkey.y = y;
    event.xkey.keycode = XKeysymToKeycode(mDisplay, sym);
    event.xkey.same_screen = True;
    Send(window, event, KeyPressMask);
  }
  void Send(Window window, XEvent& event, long mask)
  {
    XSendEvent(mDisplay, window, False, mask, &event);
    XSync(mDisplay, False);
    mLoop.Read();
  }

  // The window's pixels in r, as 0x00RRGGBB.
  std::vector<uint32_t> Capture(Window window, const IRectangle& r)
  {
    std::vector<uint32_t> out;
    XImage* image = XGetImage(mDisplay, window, r.L, r.T, (unsigned)r.W(), (unsigned)r.H(), AllPlanes, ZPixmap);
    if (!image) return out;
    for (int y = 0; y < r.H(); ++y)
      for (int x = 0; x < r.W(); ++x) out.push_back((uint32_t)XGetPixel(image, x, y) & 0xFFFFFF);
    XDestroyImage(image);
    return out;
  }

  // The pixels of a whole-window capture that are not `inside` within r and `outside`
  // elsewhere.
  static int Misplaced(const std::vector<uint32_t>& screen, const IRectangle& r, uint32_t inside, uint32_t outside)
  {
    if (screen.size() != (size_t)(kWidth * kHeight)) return -1;
    int wrong = 0;
    for (int y = 0; y < kHeight; ++y)
      for (int x = 0; x < kWidth; ++x)
      {
        const bool in = x >= r.L && x < r.R && y >= r.T && y < r.B;
        wrong += screen[(size_t)(y * kWidth + x)] != (in ? inside : outside);
      }
    return wrong;
  }

  void FillDrawBitmap(LICE_pixel color)
  {
    LICE_IBitmap* bitmap = mEditor->GetDrawBitmap();
    for (int y = 0; y < bitmap->getHeight(); ++y)
      for (int x = 0; x < bitmap->getWidth(); ++x) bitmap->getBits()[y * bitmap->getRowSpan() + x] = color;
  }

  Display* mDisplay = nullptr;
  std::unique_ptr<X11ParentWindow> mParent;
  TestEditorPlug mPlug;
  FakeRunLoop mLoop;
  EmbeddedImages mImages;
  IGraphicsX11* mEditor = nullptr;
  EventControl* mBackground = nullptr;
  EventControl* mControl = nullptr;
};
}  // namespace

TEST_F(X11Editor, OpensAChildOfTheParentRegisteredWithTheRunLoopAndClosesIt)
{
  const Window window = Open();
  ASSERT_NE(window, 0u);
  EXPECT_TRUE(mEditor->IsWindowOpen());
  Window root = 0, parent = 0, *children = nullptr;
  unsigned count = 0;
  ASSERT_TRUE(XQueryTree(mDisplay, window, &root, &parent, &children, &count));
  if (children) XFree(children);
  EXPECT_EQ(parent, mParent->Id());
  XWindowAttributes attributes;
  ASSERT_TRUE(XGetWindowAttributes(mDisplay, window, &attributes));
  EXPECT_EQ(attributes.x, 0);
  EXPECT_EQ(attributes.y, 0);
  EXPECT_EQ(attributes.width, kWidth);
  EXPECT_EQ(attributes.height, kHeight);
  EXPECT_EQ(attributes.map_state, IsViewable);
  EXPECT_EQ(mLoop.timerClient, mEditor);
  EXPECT_EQ(mLoop.timerMs, 40);
  EXPECT_EQ(mLoop.readerClient, mEditor);
  EXPECT_GE(mLoop.readerFd, 0);

  mEditor->CloseWindow();
  EXPECT_FALSE(mEditor->IsWindowOpen());
  EXPECT_EQ(mLoop.timerClient, nullptr);
  EXPECT_EQ(mLoop.readerClient, nullptr);
  EXPECT_EQ(mParent->Children(), 0u);
}

TEST_F(X11Editor, OpensNothingWithoutRunLoopWhenTheLoopRefusesOrForABadParent)
{
  mEditor->SetRunLoop(nullptr);
  EXPECT_EQ(Open(), 0u);
  mEditor->SetRunLoop(&mLoop);
  mLoop.refuseTimer = true;
  EXPECT_EQ(Open(), 0u);
  EXPECT_EQ(mLoop.readerClient, nullptr);
  mLoop.refuseTimer = false;
  // A window id that names nothing: the X error is the layer's own, not the process's end.
  EXPECT_EQ(mEditor->OpenWindow(reinterpret_cast<void*>(static_cast<uintptr_t>(0x7FFFFFF0))), nullptr);
  EXPECT_EQ(mLoop.timerClient, nullptr);
  EXPECT_FALSE(mEditor->IsWindowOpen());
  EXPECT_NE(Open(), 0u);
}

TEST_F(X11Editor, PointerEventsBecomeTheEditorsCallsWithTheirModifiers)
{
  const Window window = Open();
  ASSERT_NE(window, 0u);
  SendButton(window, ButtonPress, Button1, 12, 14, ShiftMask, 1000);
  SendMotion(window, 15, 10, Button1Mask | ShiftMask | ControlMask);
  SendMotion(window, 15, 10, Button1Mask);  // no movement: swallowed
  SendMotion(window, 70, 50, Button1Mask);  // outside the window, still the pressed control
  SendButton(window, ButtonRelease, Button1, 70, 50, Button1Mask, 1100);
  SendMotion(window, 20, 20, 0);  // no button: no drag
  EXPECT_EQ(mControl->events,
            (std::vector<std::string>{"down 12,14 L S", "drag 3,-4 15,10 L S C", "drag 55,40 70,50 L", "up 70,50"}));
  EXPECT_EQ(mPlug.EditorCalls(), (std::vector<std::string>{"begin 2", "end 2"}));

  // A right press on a bound control opens the host's menu there instead.
  mControl->events.clear();
  SendButton(window, ButtonPress, Button3, 20, 21, 0, 5000);
  SendButton(window, ButtonRelease, Button3, 20, 21, Button3Mask, 5050);
  EXPECT_EQ(mPlug.EditorCalls().back(), "host menu 2 20 21");
  EXPECT_EQ(mControl->events, std::vector<std::string>{"up 20,21"});

  // The wheel: one detent per press of button 4 (up) or 5 (down); releases are nothing.
  mControl->events.clear();
  SendButton(window, ButtonPress, Button4, 11, 11, ControlMask, 6000);
  SendButton(window, ButtonRelease, Button4, 11, 11, ControlMask, 6001);
  SendButton(window, ButtonPress, Button5, 11, 11, 0, 6002);
  EXPECT_EQ(mControl->events, (std::vector<std::string>{"wheel 1 11,11 C", "wheel -1 11,11"}));
}

TEST_F(X11Editor, SecondLeftPressSoonAndNearIsADoubleClick)
{
  const Window window = Open();
  ASSERT_NE(window, 0u);
  auto click = [&](int x, Time time)
  {
    SendButton(window, ButtonPress, Button1, x, 20, 0, time);
    SendButton(window, ButtonRelease, Button1, x, 20, Button1Mask, time + 10);
  };
  click(20, 1000);
  click(22, 1400);  // 400 ms later, 2 pixels away: a double click
  click(22, 1500);  // a third press starts over
  click(22, 1901);  // 401 ms after the press before it
  click(25, 2000);  // 3 pixels away
  const std::vector<std::string> expected = {"down 20,20 L", "up 20,20", "double 22,20 L", "up 22,20",
                                             "down 22,20 L", "up 22,20", "down 22,20 L",   "up 22,20",
                                             "down 25,20 L", "up 25,20"};
  EXPECT_EQ(mControl->events, expected);

  // Events without a time (XSendEvent with CurrentTime) never pair up.
  mControl->events.clear();
  click(20, 0);
  click(20, 0);
  EXPECT_EQ(mControl->events, (std::vector<std::string>{"down 20,20 L", "up 20,20", "down 20,20 L", "up 20,20"}));
}

TEST_F(X11Editor, KeysOfTheTableReachTheControlUnderThePointer)
{
  const Window window = Open();
  ASSERT_NE(window, 0u);
  SendKey(window, XK_a, 15, 15);
  SendKey(window, XK_Up, 15, 15);
  SendKey(window, XK_F1, 15, 15);   // not in the table
  SendKey(window, XK_space, 2, 2);  // over the background only: the key catcher's (none)
  EXPECT_EQ(mControl->events, (std::vector<std::string>{"key 15 15,15", "key 1 15,15"}));
  EXPECT_TRUE(mBackground->events.empty());

  const std::vector<std::pair<KeySym, int>> table = {
      {XK_space, 0},   {XK_Up, 1},     {XK_Down, 2}, {XK_Left, 3},        {XK_Right, 4},
      {XK_KP_Left, 3}, {XK_0, 5},      {XK_9, 14},   {XK_a, 15},          {XK_A, 15},
      {XK_z, 40},      {XK_Z, 40},     {XK_F1, -1},  {XK_KP_1, -1},       {XK_Return, -1},
      {XK_slash, -1},  {XK_colon, -1}, {XK_at, -1},  {XK_bracketleft, -1}};
  for (auto [sym, code] : table) EXPECT_EQ(X11KeyMap::KeyCode(sym), code) << XKeysymToString(sym);
}

TEST_F(X11Editor, TheTimerPresentsTheDirtyRectangleFromTheDrawBitmap)
{
  const Window window = Open();
  ASSERT_NE(window, 0u);
  // Opening marks everything dirty: the first tick puts the whole bitmap up.
  FillDrawBitmap(LICE_RGBA(0x12, 0x34, 0x56, 0xFF));
  mLoop.Tick();
  const IRectangle all(0, 0, kWidth, kHeight);
  EXPECT_EQ(Capture(window, all), std::vector<uint32_t>(kWidth * kHeight, 0x123456));

  // Only the dirty control's rectangle is presented again.
  FillDrawBitmap(LICE_RGBA(0xA0, 0x0B, 0xC1, 0x80));
  mLoop.Tick();  // nothing dirty
  EXPECT_EQ(Capture(window, IRectangle(0, 0, 1, 1)), std::vector<uint32_t>{0x123456});
  mControl->MarkDirty(false);
  mLoop.Tick();
  EXPECT_EQ(Misplaced(Capture(window, all), IRectangle(10, 10, 30, 30), 0xA00BC1, 0x123456), 0);
}

// An Expose read from the connection's descriptor is painted there and then.
TEST_F(X11Editor, AnExposeReadFromTheDescriptorIsPaintedAtOnce)
{
  const Window window = Open();
  ASSERT_NE(window, 0u);
  FillDrawBitmap(LICE_RGBA(0x12, 0x34, 0x56, 0xFF));
  mLoop.Tick();
  FillDrawBitmap(LICE_RGBA(0x65, 0x43, 0x21, 0xFF));
  XEvent event = {};
  event.xexpose.type = Expose;
  event.xexpose.window = window;
  event.xexpose.x = 5;
  event.xexpose.y = 6;
  event.xexpose.width = 40;
  event.xexpose.height = 20;
  Send(window, event, ExposureMask);
  EXPECT_EQ(Misplaced(Capture(window, IRectangle(0, 0, kWidth, kHeight)), IRectangle(5, 6, 45, 26), 0x654321, 0x123456),
            0);
}

TEST_F(X11Editor, EmbeddedImagesDecodeToTheLayoutsSizesAt1xAnd2x)
{
  struct Expected
  {
    int id, w, h;
  };
  const Expected images[] = {{101, 255, 658}, {102, 156, 3486}, {103, 31, 120}, {104, 60, 150},
                             {105, 35, 104},  {106, 37, 100},   {107, 69, 213}, {108, 67, 284},
                             {109, 81, 80},   {110, 73, 4331},  {111, 46, 87}};
  EXPECT_EQ(EmbeddedImages::Count(), 22);
  for (const Expected& e : images)
    for (int scale : {1, 2})
    {
      const int id = e.id + (scale - 1) * 100;
      LICE_IBitmap* bitmap = mEditor->LoadImageResource(id, "resources/img/X.png");
      ASSERT_NE(bitmap, nullptr) << id;
      EXPECT_EQ(bitmap->getWidth(), scale * e.w) << id;
      EXPECT_EQ(bitmap->getHeight(), scale * e.h) << id;
      delete bitmap;
    }
  LICE_IBitmap* upper = mEditor->LoadImageResource(kById, "BY.PnG");
  EXPECT_NE(upper, nullptr);
  delete upper;
  EXPECT_EQ(mEditor->LoadImageResource(kById, "BY.bmp"), nullptr);
  EXPECT_EQ(mEditor->LoadImageResource(kById, "png"), nullptr);
  EXPECT_EQ(mEditor->LoadImageResource(kById, nullptr), nullptr);
  EXPECT_EQ(mEditor->LoadImageResource(112, "X.png"), nullptr);
}
