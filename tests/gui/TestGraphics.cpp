#include "TestGraphics.h"

#include <atomic>

#include "IControl.h"
#include "LICE_MemBitmap.h"
#include "LICE_PNG.h"

TestGraphics::TestGraphics(IPlugBase* plug, int width, int height, int frameRate)
  : IGraphics(plug, width, height, frameRate)
{
}

TestGraphics::~TestGraphics() = default;

int TestGraphics::UniqueImageId()
{
  static std::atomic<int> next{1000000};
  return next++;
}

void TestGraphics::AddImage(int id, int w, int h, const std::vector<LICE_pixel>& pixels)
{
  Image& image = mImages[id];
  image.missing = false;
  image.w = w;
  image.h = h;
  image.pixels = pixels;
  image.pixels.resize(static_cast<size_t>(w) * static_cast<size_t>(h), 0);
}

void TestGraphics::AddImage(int id, int w, int h, LICE_pixel fill)
{
  AddImage(id, w, h, std::vector<LICE_pixel>(static_cast<size_t>(w) * static_cast<size_t>(h), fill));
}

void TestGraphics::AddMissingImage(int id)
{
  mImages[id] = Image{true, 0, 0, {}};
}

int TestGraphics::LoadCount(int id) const
{
  const auto it = mLoadCounts.find(id);
  return it == mLoadCounts.end() ? 0 : it->second;
}

LICE_pixel TestGraphics::PixelAt(int x, int y) const
{
  LICE_IBitmap* bitmap = GetDrawBitmap();
  if (!bitmap || x < 0 || y < 0 || x >= bitmap->getWidth() || y >= bitmap->getHeight()) return 0;
  return bitmap->getBits()[y * bitmap->getRowSpan() + x];
}

void TestGraphics::FillDrawBitmap(LICE_pixel color)
{
  LICE_IBitmap* bitmap = GetDrawBitmap();
  if (!bitmap) return;
  for (int y = 0; y < bitmap->getHeight(); ++y)
    for (int x = 0; x < bitmap->getWidth(); ++x) bitmap->getBits()[y * bitmap->getRowSpan() + x] = color;
}

bool TestGraphics::Tick()
{
  IRectangle dirty;
  if (!CollectDirtyRect(dirty)) return false;
  Draw(dirty);
  return true;
}

bool TestGraphics::PresentToScreen(const IRectangle& r)
{
  presents.push_back(r);
  return true;
}

int TestGraphics::ShowMessage(const char* text, const char*, int)
{
  messages.push_back(text ? text : "");
  return 0;
}

IMenu* TestGraphics::ShowPopupMenu(IMenu* menu, const IRectangle& r)
{
  ReleaseMouseCapture();
  if (!menu) return nullptr;
  MenuRecord record;
  record.rect = r;
  for (int i = 0; i < menu->NItems(); ++i)
  {
    record.texts.push_back(menu->GetItem(i)->GetText());
    record.flags.push_back(menu->GetItem(i)->GetFlags());
  }
  menus.push_back(record);
  if (menuChoice < 0 || menuChoice >= menu->NItems()) return nullptr;
  menu->SetChosenIndex(menuChoice);
  return menu;
}

void TestGraphics::OpenTextEntry(IControl* control, const ITextStyle&, const IRectangle& r, const char* text,
                                 IParamRecord* param)
{
  textEntries.push_back(TextEntryRecord{control, param, r, text ? text : ""});
}

void* TestGraphics::OpenWindow(void*)
{
  mWindowOpen = true;
  SetAllControlsDirty();
  return this;
}

LICE_IBitmap* TestGraphics::LoadImageResource(int id, const char* fileName)
{
  ++mLoadCounts[id];
  const auto it = mImages.find(id);
  if (it == mImages.end())
  {
    if (mFileRoot.empty() || !fileName) return nullptr;
    return LICE_LoadPNGFile((mFileRoot + "/" + fileName).c_str(), nullptr);
  }
  const Image& image = it->second;
  if (image.missing) return nullptr;
  LICE_MemBitmap* bitmap = new LICE_MemBitmap(image.w, image.h);
  for (int y = 0; y < image.h; ++y)
    for (int x = 0; x < image.w; ++x)
      bitmap->getBits()[y * bitmap->getRowSpan() + x] = image.pixels[static_cast<size_t>(y) * image.w + x];
  return bitmap;
}
