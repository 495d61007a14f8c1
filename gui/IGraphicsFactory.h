#pragma once

class IGraphics;
class IPlugBase;

// The editor of this platform for plug: a new IGraphicsWin on Windows, owned by the
// caller. Other platforms have no window layer yet (the Linux one is still to come),
// so there the result is null and the plug-in runs without an editor.
IGraphics* MakeGraphics(IPlugBase* plug, int width, int height, int frameRate);
