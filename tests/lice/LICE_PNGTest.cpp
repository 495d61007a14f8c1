#include "FlippedBitmap.h"
#include "LICE_ImageLoader.h"
#include "LICE_MemBitmap.h"
#include "LICE_PNG.h"
#include "PixelGrid.h"
#include "PngEncoder.h"
#include "PngTestImages.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

namespace
{

std::unique_ptr<LICE_MemBitmap> Decode(const std::vector<unsigned char>& png)
{
  return std::unique_ptr<LICE_MemBitmap>(LICE_LoadPNGFromMemory(png.data(), (int)png.size()));
}

class LICE_PNGFormat : public ::testing::TestWithParam<PngFormat>
{
};

TEST_P(LICE_PNGFormat, DecodesToStraightARGB)
{
  for (int size : {1, 13})
  {
    const PngImage img = MakeImage(GetParam(), size, size == 1 ? 1 : 11);
    const std::vector<unsigned char> png = EncodePng(img);
    ASSERT_FALSE(png.empty());
    auto bmp = Decode(png);
    ASSERT_NE(bmp, nullptr);
    EXPECT_EQ(PixelGrid::ReadFrom(*bmp), ExpectedPixels(img)) << "size " << size;
    EXPECT_EQ(bmp->getRowSpan(), (img.width + 3) / 4 * 4);
  }
}

TEST_P(LICE_PNGFormat, TruncationAtEveryLengthFailsCleanly)
{
  const PngImage img = MakeImage(GetParam(), 9, 7);
  const std::vector<unsigned char> png = EncodePng(img);
  const PixelGrid full = ExpectedPixels(img);
  size_t iend = 0;
  for (const PngChunk& c : ListChunks(png))
    if (strcmp(c.type, "IEND") == 0) iend = c.offset;
  ASSERT_GT(iend, 0u);
  for (size_t len = 0; len < png.size(); ++len)
  {
    // The decoder never reads IEND, so only cuts before it lose image data.
    auto bmp = std::unique_ptr<LICE_MemBitmap>(LICE_LoadPNGFromMemory(png.data(), (int)len));
    if (len < iend)
      ASSERT_EQ(bmp, nullptr) << "length " << len;
    else
      ASSERT_TRUE(bmp && PixelGrid::ReadFrom(*bmp) == full) << "length " << len;
  }
}

TEST_P(LICE_PNGFormat, EveryFlippedByteIsRejectedOrHarmless)
{
  const PngImage img = MakeImage(GetParam(), 9, 7);
  const std::vector<unsigned char> png = EncodePng(img);
  const std::vector<PngChunk> chunks = ListChunks(png);
  for (size_t pos = 0; pos < png.size(); ++pos)
  {
    const PngChunk* owner = nullptr;
    for (const PngChunk& c : chunks)
      if (pos >= c.offset && pos < c.offset + 12 + c.length) owner = &c;
    const bool critical = pos < 8 || (owner && (strcmp(owner->type, "IHDR") == 0 || strcmp(owner->type, "IDAT") == 0 ||
                                                strcmp(owner->type, "PLTE") == 0));
    // 0xFF makes the top byte of a chunk length invalid; 0x01 makes it point past the end.
    for (unsigned char flip : {0x01, 0xFF})
    {
      std::vector<unsigned char> bad = png;
      bad[pos] ^= flip;
      auto bmp = Decode(bad);
      if (critical)
      {
        ASSERT_EQ(bmp, nullptr) << "byte " << pos << " flip " << (int)flip;
      }
      else if (bmp)
      {
        // A damaged tRNS is dropped with a warning; IEND is never read.
        EXPECT_EQ(bmp->getWidth(), img.width);
        EXPECT_EQ(bmp->getHeight(), img.height);
      }
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Formats, LICE_PNGFormat, ::testing::ValuesIn(kPngFormats, kPngFormats + kPngFormatCount),
                         [](const ::testing::TestParamInfo<PngFormat>& info) { return std::string(info.param.name); });

TEST(LICE_PNG, DocumentedPixelValues)
{
  PngImage rgba = MakeImage({"", PNG_COLOR_TYPE_RGB_ALPHA, 8, false, false}, 1, 1);
  const int sample[4] = {10, 20, 30, 40};
  for (int c = 0; c < 4; ++c) rgba.SetSample(0, 0, c, sample[c]);
  auto bmp = Decode(EncodePng(rgba));
  ASSERT_NE(bmp, nullptr);
  EXPECT_EQ(bmp->getBits()[0], 0x280A141Eu);

  PngImage rgba16 = MakeImage({"", PNG_COLOR_TYPE_RGB_ALPHA, 16, false, false}, 1, 1);
  const int sample16[4] = {0x12FF, 0x3400, 0x5678, 0x9ABC};
  for (int c = 0; c < 4; ++c) rgba16.SetSample(0, 0, c, sample16[c]);
  bmp = Decode(EncodePng(rgba16));
  ASSERT_NE(bmp, nullptr);
  EXPECT_EQ(bmp->getBits()[0], 0x9A123456u);

  PngImage grey1 = MakeImage({"", PNG_COLOR_TYPE_GRAY, 1, false, false}, 2, 1);
  grey1.SetSample(0, 0, 0, 0);
  grey1.SetSample(1, 0, 0, 1);
  bmp = Decode(EncodePng(grey1));
  ASSERT_NE(bmp, nullptr);
  EXPECT_EQ(bmp->getBits()[0], 0xFF000000u);
  EXPECT_EQ(bmp->getBits()[1], 0xFFFFFFFFu);

  PngImage rgb = MakeImage({"", PNG_COLOR_TYPE_RGB, 8, false, false}, 1, 1);
  bmp = Decode(EncodePng(rgb));
  ASSERT_NE(bmp, nullptr);
  EXPECT_EQ(LICE_GETA(bmp->getBits()[0]), 255);
}

TEST(LICE_PNG, ShortOrForeignDataIsRefusedBeforeLibpng)
{
  static const unsigned char sig[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
  EXPECT_EQ(LICE_LoadPNGFromMemory(nullptr, 100), nullptr);
  EXPECT_EQ(LICE_LoadPNGFromMemory(sig, 7), nullptr);
  EXPECT_EQ(LICE_LoadPNGFromMemory(sig, -1), nullptr);
  EXPECT_EQ(LICE_LoadPNGFromMemory(sig, 8), nullptr);  // libpng finds no IHDR
  const unsigned char gif[] = "GIF89a\x01\x00\x01\x00\x00\x00\x00";
  EXPECT_EQ(LICE_LoadPNGFromMemory(gif, (int)sizeof gif), nullptr);
}

TEST(LICE_PNG, BadChecksumsOfCriticalChunksAreErrors)
{
  const std::vector<unsigned char> png = EncodePng(MakeImage(FindPngFormat("RGBA8"), 8, 8));
  for (const PngChunk& c : ListChunks(png))
  {
    std::vector<unsigned char> bad = png;
    bad[c.offset + 8 + c.length] ^= 1;
    auto bmp = Decode(bad);
    if (strcmp(c.type, "IEND") == 0)
      EXPECT_NE(bmp, nullptr);
    else
      EXPECT_EQ(bmp, nullptr) << c.type;
  }
}

TEST(LICE_PNG, AbsurdDimensionsAreRefused)
{
  const std::vector<unsigned char> png = EncodePng(MakeImage(FindPngFormat("RGBA8"), 4, 4));
  const PngChunk ihdr = ListChunks(png)[0];
  ASSERT_STREQ(ihdr.type, "IHDR");
  const uint32_t sizes[][2] = {{0, 4},         {4, 0},         {0x7FFFFFFF, 1},           {0x80000000u, 1},
                               {1000001, 1},   {1, 1000001},   {1000000, 1000000},        {1000000, 1000},
                               {65536, 65536}, {40000, 40000}, {0xFFFFFFFFu, 0xFFFFFFFFu}};
  for (const auto& s : sizes)
  {
    std::vector<unsigned char> bad = png;
    for (int i = 0; i < 4; ++i)
    {
      bad[ihdr.offset + 8 + i] = (unsigned char)(s[0] >> (24 - 8 * i));
      bad[ihdr.offset + 12 + i] = (unsigned char)(s[1] >> (24 - 8 * i));
    }
    FixChunkCrc(bad, ihdr);
    EXPECT_EQ(Decode(bad), nullptr) << s[0] << " x " << s[1];
  }
}

TEST(LICE_PNG, RandomBytesAreRefused)
{
  uint32_t state = 12345;
  auto next = [&state]()
  {
    state = state * 1664525u + 1013904223u;
    return state >> 8;
  };
  const std::vector<unsigned char> valid = EncodePng(MakeImage(FindPngFormat("Palette4Transparent"), 6, 6));
  for (int round = 0; round < 3000; ++round)
  {
    std::vector<unsigned char> data(next() % 400);
    for (auto& b : data) b = (unsigned char)next();
    if (round % 2 && data.size() >= 8) memcpy(data.data(), valid.data(), 8);
    if (round % 3 == 0 && data.size() >= 33) memcpy(data.data(), valid.data(), 33);  // keep a valid IHDR
    auto bmp = std::unique_ptr<LICE_MemBitmap>(LICE_LoadPNGFromMemory(data.data(), (int)data.size()));
    ASSERT_EQ(bmp, nullptr) << "round " << round;
  }
}

// PNG files in a scratch folder, removed afterwards.
class LICE_PNGFile : public ::testing::Test
{
protected:
  void SetUp() override
  {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    mDir = std::filesystem::temp_directory_path() / (std::string("lice_png_") + info->name());
    std::filesystem::create_directories(mDir);
  }
  void TearDown() override
  {
    std::error_code ec;
    std::filesystem::remove_all(mDir, ec);
  }

  // Writes bytes to a file named by UTF-8 text; returns its UTF-8 path.
  std::string Write(const std::string& utf8Name, const std::vector<unsigned char>& bytes)
  {
    const std::filesystem::path p = mDir / std::filesystem::u8path(utf8Name);
    std::ofstream(p, std::ios::binary).write((const char*)bytes.data(), (std::streamsize)bytes.size());
    return p.u8string();
  }

  std::filesystem::path mDir;
};

TEST_F(LICE_PNGFile, LoadsIntoANewBitmap)
{
  const PngImage img = MakeImage(FindPngFormat("Palette8Transparent"), 10, 6);
  const std::string path = Write("knob.png", EncodePng(img));
  std::unique_ptr<LICE_IBitmap> bmp(LICE_LoadPNGFile(path.c_str(), nullptr));
  ASSERT_NE(bmp, nullptr);
  EXPECT_NE(dynamic_cast<LICE_MemBitmap*>(bmp.get()), nullptr);
  EXPECT_EQ(PixelGrid::ReadFrom(*bmp), ExpectedPixels(img));
}

TEST_F(LICE_PNGFile, LoadsIntoAGivenBitmapOfAnySizeAndOrientation)
{
  const PngImage img = MakeImage(FindPngFormat("RGBA8Interlaced"), 10, 6);
  const std::string path = Write("strip.png", EncodePng(img));

  LICE_MemBitmap mem(3, 40);
  EXPECT_EQ(LICE_LoadPNGFile(path.c_str(), &mem), &mem);
  EXPECT_EQ(PixelGrid::ReadFrom(mem), ExpectedPixels(img));

  FlippedBitmap flipped(1, 1);
  EXPECT_EQ(LICE_LoadPNGFile(path.c_str(), &flipped), &flipped);
  EXPECT_EQ(PixelGrid::ReadFrom(flipped), ExpectedPixels(img));
}

TEST_F(LICE_PNGFile, ATargetThatCannotTakeTheSizeIsKept)
{
  const std::string path = Write("big.png", EncodePng(MakeImage(FindPngFormat("RGBA8"), 20, 20)));
  FlippedBitmap small(2, 2);
  small.SetMaxPixels(100);
  EXPECT_EQ(LICE_LoadPNGFile(path.c_str(), &small), nullptr);
  EXPECT_EQ(small.getWidth(), 2);  // still alive and untouched in size
}

TEST_F(LICE_PNGFile, BadFilesGiveNull)
{
  EXPECT_EQ(LICE_LoadPNGFile((mDir / "missing.png").u8string().c_str(), nullptr), nullptr);
  EXPECT_EQ(LICE_LoadPNGFile(nullptr, nullptr), nullptr);
  const std::string text = Write("text.png", std::vector<unsigned char>(100, 'x'));
  EXPECT_EQ(LICE_LoadPNGFile(text.c_str(), nullptr), nullptr);
  std::vector<unsigned char> cut = EncodePng(MakeImage(FindPngFormat("RGBA8"), 20, 20));
  cut.resize(cut.size() / 2);
  const std::string truncated = Write("cut.png", cut);
  EXPECT_EQ(LICE_LoadPNGFile(truncated.c_str(), nullptr), nullptr);
  LICE_MemBitmap target(5, 5);
  EXPECT_EQ(LICE_LoadPNGFile(truncated.c_str(), &target), nullptr);
}

TEST_F(LICE_PNGFile, OpensUnicodeNames)
{
  const PngImage img = MakeImage(FindPngFormat("RGB8"), 3, 3);
  const std::string path = Write("kn\xC3\xB6pfe \xE2\x82\xAC.png", EncodePng(img));
  std::unique_ptr<LICE_IBitmap> bmp(LICE_LoadPNGFile(path.c_str(), nullptr));
  ASSERT_NE(bmp, nullptr);
  EXPECT_EQ(PixelGrid::ReadFrom(*bmp), ExpectedPixels(img));
}

TEST_F(LICE_PNGFile, TheRegistryHoldsThePNGLoader)
{
  LICE_ImageLoaderEntry* entry = LICE_GetImageLoaders();
  ASSERT_NE(entry, nullptr);
  EXPECT_EQ(entry->next, nullptr);
  const char* list = entry->getExtList();
  EXPECT_STREQ(list, "PNG files (*.PNG)");
  EXPECT_STREQ(list + strlen(list) + 1, "*.PNG");
  EXPECT_EQ(list[strlen(list) + 1 + strlen("*.PNG") + 1], '\0');

  const std::vector<unsigned char> png = EncodePng(MakeImage(FindPngFormat("RGB8"), 4, 4));
  for (const char* accepted : {"a.PNG", "b.png", "c.PnG", "d.x.png"})
  {
    std::unique_ptr<LICE_IBitmap> bmp(entry->loadfunc(Write(accepted, png).c_str(), true, nullptr));
    EXPECT_NE(bmp, nullptr) << accepted;
  }
  for (const char* refused : {"noextension", "e.png.bak", "f.pngx", "g.pn"})
  {
    std::unique_ptr<LICE_IBitmap> bmp(entry->loadfunc(Write(refused, png).c_str(), true, nullptr));
    EXPECT_EQ(bmp, nullptr) << refused;
    bmp.reset(entry->loadfunc(Write(refused, png).c_str(), false, nullptr));
    EXPECT_NE(bmp, nullptr) << refused;
  }
  // The last dot must come after the last slash or backslash.
  EXPECT_EQ(entry->loadfunc((mDir / "dir.png").u8string().append("/file").c_str(), true, nullptr), nullptr);
  EXPECT_EQ(entry->loadfunc("c:\\images.png\\file", true, nullptr), nullptr);
}

}  // namespace
