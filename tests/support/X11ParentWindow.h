#pragma once

#include <X11/Xlib.h>

#include <cstdint>

// A mapped top-level window on the tests' display that stands in for the host's window
// an editor or a view opens into; destroyed with the object.
class X11ParentWindow
{
public:
  X11ParentWindow(Display* display, unsigned width, unsigned height)
    : mDisplay(display)
    , mWindow(XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, width, height, 0, 0, 0))
  {
    XMapWindow(mDisplay, mWindow);
    XSync(mDisplay, False);
  }
  ~X11ParentWindow()
  {
    XDestroyWindow(mDisplay, mWindow);
    XSync(mDisplay, False);
  }
  X11ParentWindow(const X11ParentWindow&) = delete;
  X11ParentWindow& operator=(const X11ParentWindow&) = delete;

  Window Id() const { return mWindow; }
  // The window as the editor and the view take their parent.
  void* Handle() const { return reinterpret_cast<void*>(static_cast<uintptr_t>(mWindow)); }
  unsigned Children() const
  {
    Window root = 0, parent = 0, *children = nullptr;
    unsigned count = 0;
    XQueryTree(mDisplay, mWindow, &root, &parent, &children, &count);
    if (children) XFree(children);
    return count;
  }

private:
  Display* const mDisplay;
  const Window mWindow;
};
