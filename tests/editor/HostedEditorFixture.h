#pragma once

#include <gtest/gtest.h>

#include "EditorSession.h"
#include "PanelOracle.h"

// MERO's editor opened by the test host at the defaults, with the panel oracle loaded
// once per suite. Without an X display (off Windows) a test fails, or is skipped when
// MERO_ALLOW_NO_DISPLAY=1.
class HostedEditorFixture : public ::testing::Test
{
protected:
  static void SetUpTestSuite();
  static void TearDownTestSuite();
  void SetUp() override;

  static PanelOracle* oracle;
  static bool oracleLoaded;
  EditorSession session;
  PanelOracle::Values defaults{};
};
