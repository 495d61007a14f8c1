// MERO's front panel: the images in resources/img (and their 2x versions in
// resources/img/2x), the controls MEROEditor builds from them, and the images the
// module carries.

#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <typeinfo>
#include <vector>

#include "IBitmapControl.h"
#include "IKnobMultiControl.h"
#include "ISwitchControl.h"
#include "LICE_IBitmap.h"
#include "MERO.h"
#include "MEROEditor.h"
#include "TestGraphics.h"

#ifdef _WIN32
#include <windows.h>

#include "WinResourceImages.h"
#else
#include "EmbeddedImages.h"
#endif

namespace
{
// The panel as the product defines it, in control order.
struct Expected
{
  const char* file;
  int resourceId;
  int imageW, imageH, frames;
  int L, T, R, B;
  int paramIdx;
  int blendMethod;
  bool knob;
};

const Expected kPanel[] = {
    {"BG", 101, 255, 658, 1, 0, 0, 255, 658, -1, 1, false},
    {"LEVEL", 102, 156, 3486, 21, 50, 381, 206, 547, 0, 0, true},
    {"LOW", 107, 69, 213, 3, 52, 163, 121, 234, 1, 0, true},
    {"HIGH", 108, 67, 284, 4, 137, 163, 204, 234, 2, 0, true},
    {"OUT", 110, 73, 4331, 61, 89, 556, 162, 627, 3, 0, true},
    {"MODE", 103, 31, 120, 2, 71, 285, 102, 345, 4, 0, false},
    {"GAIN", 104, 60, 150, 2, 96, 71, 156, 146, 5, 0, false},
    {"PAD", 105, 35, 104, 2, 110, 283, 145, 335, 6, 0, false},
    {"PHASE", 106, 37, 100, 2, 152, 283, 189, 333, 7, 0, false},
    {"BY", 109, 81, 80, 2, 85, 13, 166, 53, 8, 0, false},
    {"QUALITY", 111, 46, 87, 3, 180, 94, 226, 123, 9, 0, false},
};

// scale 1: the image the layout is drawn with; 2: the same at twice the width and height.
std::string ImagePath(const char* name, int scale = 1)
{
  return std::string(MERO_SOURCE_DIR) + (scale == 1 ? "/resources/img/" : "/resources/img/2x/") + name + ".png";
}

std::vector<unsigned char> ReadFile(const std::string& path)
{
  std::ifstream in(path, std::ios::binary);
  return std::vector<unsigned char>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::uint32_t BigEndian32(const unsigned char* p)
{
  return (std::uint32_t(p[0]) << 24) | (std::uint32_t(p[1]) << 16) | (std::uint32_t(p[2]) << 8) | p[3];
}

TEST(MEROPanelImages, EachImageIsAnRgbaStripOfItsSizeAndFramesAt1xAnd2x)
{
  const unsigned char signature[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
  for (const Expected& e : kPanel)
    for (int scale : {1, 2})
    {
      SCOPED_TRACE(std::string(e.file) + " at " + std::to_string(scale) + "x");
      const std::vector<unsigned char> png = ReadFile(ImagePath(e.file, scale));
      ASSERT_GE(png.size(), 33u);
      EXPECT_TRUE(std::equal(signature, signature + 8, png.begin()));
      // The first chunk is IHDR: length 13, width, height, bit depth, colour type,
      // compression, filter, interlace.
      EXPECT_EQ(BigEndian32(&png[8]), 13u);
      EXPECT_EQ(std::string(png.begin() + 12, png.begin() + 16), "IHDR");
      EXPECT_EQ(BigEndian32(&png[16]), std::uint32_t(scale * e.imageW));
      EXPECT_EQ(BigEndian32(&png[20]), std::uint32_t(scale * e.imageH));
      EXPECT_EQ(png[24], 8) << "bit depth";
      EXPECT_EQ(png[25], 6) << "colour type RGBA";
      EXPECT_EQ(png[28], 0) << "interlace";
    }
  for (const Expected& e : kPanel)
  {
    SCOPED_TRACE(e.file);
    EXPECT_EQ(e.imageH % e.frames, 0);
    EXPECT_EQ(e.imageH / e.frames, e.B - e.T);
    EXPECT_EQ(e.imageW, e.R - e.L);
  }
}

class MEROEditorTest : public ::testing::Test
{
protected:
  MEROEditorTest()
  {
    graphics.SetFileRoot(MERO_SOURCE_DIR);
    MEROEditor::Build(&plug, &graphics);
  }

  const IBitmapStrip& StripOf(int index)
  {
    IControl* c = graphics.GetControl(index);
    if (const auto* knob = dynamic_cast<IKnobMultiControl*>(c)) return knob->GetStrip();
    return dynamic_cast<IBitmapControl*>(c)->GetStrip();
  }

  // The 1-based frames of the control's strip whose opaque pixels all appear in the
  // drawn editor at the control's place.
  std::vector<int> FramesShown(int index)
  {
    const IBitmapStrip& strip = StripOf(index);
    const IRectangle& r = graphics.GetControl(index)->GetRect();
    LICE_IBitmap* image = strip.bitmap;
    std::vector<int> shown;
    for (int frame = 1; frame <= strip.n; ++frame)
    {
      int opaque = 0;
      bool matches = true;
      for (int y = 0; y < r.H() && matches; ++y)
        for (int x = 0; x < r.W() && matches; ++x)
        {
          const LICE_pixel src = image->getBits()[((frame - 1) * r.H() + y) * image->getRowSpan() + x];
          if ((src >> 24) != 0xFF) continue;
          ++opaque;
          matches = (graphics.PixelAt(r.L + x, r.T + y) & 0xFFFFFF) == (src & 0xFFFFFF);
        }
      if (matches && opaque > 0) shown.push_back(frame);
    }
    return shown;
  }

  void DrawAll()
  {
    graphics.CreateBackingBitmaps();
    graphics.Draw(IRectangle(0, 0, 255, 658));
  }

  MERO plug;
  TestGraphics graphics{&plug, 255, 658, 25};
};

TEST_F(MEROEditorTest, ElevenControlsInOrderAtTheirPlacesBoundToTheirParameters)
{
  ASSERT_EQ(graphics.NControls(), 11);
  for (int i = 0; i < 11; ++i)
  {
    const Expected& e = kPanel[i];
    SCOPED_TRACE(e.file);
    IControl* c = graphics.GetControl(i);
    if (i == 0)
      EXPECT_EQ(typeid(*c), typeid(IBitmapControl));
    else if (e.knob)
      EXPECT_EQ(typeid(*c), typeid(IKnobMultiControl));
    else
      EXPECT_EQ(typeid(*c), typeid(ISwitchControl));
    EXPECT_EQ(c->GetRect(), IRectangle(e.L, e.T, e.R, e.B));
    EXPECT_EQ(c->ParamIdx(), e.paramIdx);
    EXPECT_EQ(c->GetBlend().method, e.blendMethod);
    EXPECT_EQ(c->GetBlend().weight, 1.0f);
    if (e.knob)
    {
      const auto* knob = static_cast<IKnobMultiControl*>(c);
      EXPECT_EQ(knob->GetDirection(), IKnobControl::kVertical);
      EXPECT_EQ(knob->GetGearing(), 4.0);
    }
    // The strip is the decoded resource image of this control, with its frames.
    const IBitmapStrip& strip = StripOf(i);
    ASSERT_NE(strip.bitmap, nullptr);
    EXPECT_EQ(strip.w, e.imageW);
    EXPECT_EQ(strip.h, e.imageH);
    EXPECT_EQ(strip.n, e.frames);
    EXPECT_FALSE(strip.framesHorizontal);
  }
  // Parameter names match the bindings.
  const char* names[10] = {"Level", "Low", "High", "Output", "Mode", "Gain", "Pad", "Phase", "Bypas", "Quality"};
  for (int i = 1; i < 11; ++i)
    EXPECT_STREQ(plug.GetParamRecord(graphics.GetControl(i)->ParamIdx())->GetName(), names[kPanel[i].paramIdx]);
}

// A knob shows the position its parameter takes for the same normalised value: the
// nearest one, halves rounding up.
TEST_F(MEROEditorTest, SteppedKnobsShowThePositionInEffect)
{
  struct Case
  {
    int control;
    double value;
  };
  const Case cases[] = {{2, 0.24}, {2, 0.25}, {2, 0.26}, {2, 0.74}, {2, 0.76},  {3, 0.16}, {3, 0.17},
                        {3, 0.49}, {3, 0.5},  {3, 0.83}, {3, 0.84}, {1, 0.024}, {1, 0.025}};
  for (const Case& k : cases)
  {
    SCOPED_TRACE(testing::Message() << kPanel[k.control].file << " at " << k.value);
    IControl* knob = graphics.GetControl(k.control);
    knob->SetValueFromParam(k.value);
    knob->SetValueFromParam(k.value);  // the first value only sets the default
    DrawAll();
    IParamRecord* param = plug.GetParamRecord(knob->ParamIdx());
    param->SetFromNormalized(k.value);
    const int position = static_cast<int>(param->GetValue());
    EXPECT_EQ(FramesShown(k.control), std::vector<int>{position + 1});
  }
}

TEST_F(MEROEditorTest, OutputAtTheMiddleShowsTheMiddleFrameAndSwitchesShowTheirState)
{
  IControl* output = graphics.GetControl(4);
  output->SetValueFromParam(0.2);
  output->SetValueFromParam(0.5);
  IControl* bypass = graphics.GetControl(9);
  bypass->SetValueFromParam(0.0);
  IControl* quality = graphics.GetControl(10);
  quality->SetValueFromParam(0.0);
  quality->SetValueFromParam(0.5);
  DrawAll();
  EXPECT_EQ(FramesShown(4), std::vector<int>{31});
  EXPECT_EQ(FramesShown(9), std::vector<int>{1});
  EXPECT_EQ(FramesShown(10), std::vector<int>{2});
  bypass->SetValueFromParam(1.0);
  DrawAll();
  EXPECT_EQ(FramesShown(9), std::vector<int>{2});
}

// The module carries each image and its 2x version (ID + 100) byte for byte, found by
// ID through the image source the product hands its editor: on Windows the module's
// resources (type "PNG", US English), elsewhere the table compiled into it.
class MEROModuleImages : public ::testing::Test
{
protected:
  std::vector<unsigned char> Embedded(int id)
  {
#ifdef _WIN32
    EXPECT_NE(FindResourceExA(module, "PNG", MAKEINTRESOURCEA(id), MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US)),
              nullptr);
#endif
    const void* data = nullptr;
    int size = 0;
    if (!images.FindImage(id, data, size)) return {};
    const auto* bytes = static_cast<const unsigned char*>(data);
    return std::vector<unsigned char>(bytes, bytes + size);
  }

#ifdef _WIN32
  ~MEROModuleImages() override
  {
    FreeLibrary(module);
  }

  HMODULE module = LoadLibraryExA(MERO_MODULE_FILE, nullptr, LOAD_LIBRARY_AS_DATAFILE);
  WinResourceImages images{module};
#else
  EmbeddedImages images;
#endif
};

TEST_F(MEROModuleImages, EachImageAndIts2xVersionAreEmbeddedUnderTheirIds)
{
#ifdef _WIN32
  ASSERT_NE(module, nullptr);
#endif
  for (const Expected& e : kPanel)
  {
    SCOPED_TRACE(e.file);
    const std::vector<unsigned char> image = Embedded(e.resourceId);
    const std::vector<unsigned char> image2x = Embedded(e.resourceId + 100);
    ASSERT_GE(image.size(), 24u);
    ASSERT_GE(image2x.size(), 24u);
    EXPECT_EQ(image, ReadFile(ImagePath(e.file)));
    EXPECT_EQ(image2x, ReadFile(ImagePath(e.file, 2)));
    // Width and height from the IHDR chunks.
    EXPECT_EQ(BigEndian32(&image2x[16]), 2 * BigEndian32(&image[16]));
    EXPECT_EQ(BigEndian32(&image2x[20]), 2 * BigEndian32(&image[20]));
  }
  const void* data = nullptr;
  int size = 0;
  EXPECT_FALSE(images.FindImage(112, data, size));
  EXPECT_FALSE(images.FindImage(212, data, size));
}
}  // namespace
