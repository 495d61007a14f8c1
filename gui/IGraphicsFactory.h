#pragma once

class IGraphics;
class IPlugBase;

// The editor of this platform for plug, owned by the caller: a new IGraphicsWin on
// Windows (moduleHandle: the HINSTANCE of the module it lives in), a new IGraphicsX11
// elsewhere (moduleHandle unused). Making it connects to no display; only opening its
// window does.
IGraphics* MakeGraphics(IPlugBase* plug, int width, int height, int frameRate, void* moduleHandle);
