#pragma once

#include "IImageSource.h"

// The images stored as resources of type "PNG" in a Windows module, by resource ID.
class WinResourceImages : public IImageSource
{
public:
  // module: the HINSTANCE of the module that holds the resources (null: the program).
  explicit WinResourceImages(void* module);

  bool FindImage(int id, const void*& data, int& size) const override;

private:
  void* mModule;
};
