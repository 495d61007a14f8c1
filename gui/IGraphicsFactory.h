#pragma once

class IGraphics;
class IPlugBase;

// The editor of this platform for plug, owned by the caller: a new IGraphicsWin on
// Windows, a new IGraphicsX11 elsewhere. Making it connects to no display; only
// opening its window does.
IGraphics* MakeGraphics(IPlugBase* plug, int width, int height, int frameRate);
