#pragma once

#include <X11/Xlib.h>

// The tests' own connection to $DISPLAY, opened once and kept for the whole program
// (null without a display): an X server without -noreset starts over whenever its last
// client leaves, and a connection made while it does so fails.
inline Display* X11TestDisplay()
{
  static Display* display = XOpenDisplay(nullptr);
  return display;
}

// In a fixture's SetUp: fails the test when DISPLAY is not set, or skips it when
// MERO_ALLOW_NO_DISPLAY is set as well.
#define MERO_REQUIRE_DISPLAY()                                                                                         \
  do                                                                                                                   \
  {                                                                                                                    \
    if (!std::getenv("DISPLAY"))                                                                                       \
    {                                                                                                                  \
      if (std::getenv("MERO_ALLOW_NO_DISPLAY")) GTEST_SKIP() << "no DISPLAY";                                          \
      FAIL() << "DISPLAY is not set: the X11 editor tests need an X server (scripts/test starts Xvfb)";                \
    }                                                                                                                  \
  } while (false)
