#pragma once

// The loaded module's handle (an HINSTANCE on Windows, the dlopen handle on Linux),
// set by the module entry before the host uses the factory; the editor loads its
// resources through it. Null until then.
extern void* gModuleHandle;
