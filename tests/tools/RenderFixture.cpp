#include "RenderFixture.h"

#include <chrono>

namespace fs = std::filesystem;

void RenderFixture::SetUp()
{
  const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
  mRoot = fs::temp_directory_path() / ("mero-render-test-" + std::to_string(stamp));
  fs::create_directories(mRoot / "files");
  fs::create_directories(mRoot / "logs");
  mProcess = std::make_unique<RenderProcess>((mRoot / "logs").string());
}

void RenderFixture::TearDown()
{
  std::error_code ec;
  fs::remove_all(mRoot, ec);
}

std::string RenderFixture::File(const std::string& name) const
{
  return (mRoot / "files" / name).string();
}

std::set<std::string> RenderFixture::FilesPresent() const
{
  std::set<std::string> names;
  for (const auto& entry : fs::directory_iterator(mRoot / "files")) names.insert(entry.path().filename().string());
  return names;
}

std::string RenderFixture::Input(const std::string& name, const TestWav& wav)
{
  const std::string path = File(name);
  EXPECT_TRUE(wav.Save(path)) << path;
  return path;
}

TestWav RenderFixture::Load(const std::string& path)
{
  TestWav wav;
  EXPECT_TRUE(TestWav::Load(path, wav)) << path;
  return wav;
}

TestWav RenderFixture::RenderToWav(const std::string& in, const std::string& outName, std::vector<std::string> args)
{
  const std::string out = File(outName);
  args.insert(args.begin(), {"--in", in, "--out", out});
  EXPECT_EQ(Render(args), 0) << Output();
  return Load(out);
}
