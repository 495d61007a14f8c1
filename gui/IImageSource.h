#pragma once

// Where an editor finds its images: the encoded bytes of each image by resource ID.
// The product hands one to its editor (IGraphics::SetImageSource); the bytes stay
// valid for as long as the source does.
class IImageSource
{
public:
  virtual ~IImageSource() = default;
  // The bytes of image id and their count; false, leaving both alone, when there is
  // no such image.
  virtual bool FindImage(int id, const void*& data, int& size) const = 0;
};
