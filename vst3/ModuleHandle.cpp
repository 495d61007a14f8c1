#include "vst3/ModuleHandle.h"

void* gModuleHandle = nullptr;
