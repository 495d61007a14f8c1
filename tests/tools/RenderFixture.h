#pragma once

#include "RenderProcess.h"
#include "TestWav.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <set>
#include <string>
#include <vector>

// Base of the mero-render tests: a fresh folder per test ("files" for the
// test's WAV files, "logs" for the program's captured output), removed after.
class RenderFixture : public ::testing::Test
{
protected:
  void SetUp() override;
  void TearDown() override;

  std::string File(const std::string& name) const;
  // Names of everything in the files folder.
  std::set<std::string> FilesPresent() const;

  int Render(const std::vector<std::string>& args) { return mProcess->Run(args); }
  const std::string& Output() const { return mProcess->Output(); }
  const std::string& Errors() const { return mProcess->Errors(); }

  // Saves `wav` as files/name and returns its path.
  std::string Input(const std::string& name, const TestWav& wav);
  TestWav Load(const std::string& path);
  // Renders `in` with extra arguments into files/outName (expecting success)
  // and loads the result.
  TestWav RenderToWav(const std::string& in, const std::string& outName, std::vector<std::string> args);

  std::filesystem::path mRoot;
  std::unique_ptr<RenderProcess> mProcess;
};
