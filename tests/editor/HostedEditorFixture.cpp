#include "HostedEditorFixture.h"

#include <cstdlib>
#include <cstring>

PanelOracle* HostedEditorFixture::oracle = nullptr;
bool HostedEditorFixture::oracleLoaded = false;

void HostedEditorFixture::SetUpTestSuite()
{
  oracle = new PanelOracle;
  oracleLoaded = oracle->Load(EditorSession::ImageFolder());
}

void HostedEditorFixture::TearDownTestSuite()
{
  delete oracle;
  oracle = nullptr;
}

void HostedEditorFixture::SetUp()
{
#ifndef _WIN32
  if (!std::getenv("DISPLAY"))
  {
    const char* allow = std::getenv("MERO_ALLOW_NO_DISPLAY");
    if (allow && std::strcmp(allow, "1") == 0) GTEST_SKIP() << "no X display (DISPLAY unset)";
    FAIL() << "the editor tests need an X display with XTest: DISPLAY is not set (start Xvfb and export "
              "DISPLAY, or set MERO_ALLOW_NO_DISPLAY=1 to skip them)";
  }
#endif
  ASSERT_TRUE(oracleLoaded) << "panel images missing from " << EditorSession::ImageFolder();
  ASSERT_TRUE(session.Create());
  ASSERT_TRUE(session.OpenEditor(0, 0)) << session.window.Failure();
  defaults = session.Values();
}
