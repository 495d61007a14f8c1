#pragma once

#include <map>
#include <string>
#include <vector>

#include "IGraphics.h"
#include "LICE_pixel.h"

// An editor platform for tests, without a window. It records what the editor asks
// of the platform (presents, popup menus, text entries, messages), answers popup
// menus with a chosen index, and serves images from memory: each LoadImageResource
// of a registered id makes a new LICE_MemBitmap (owned by the bitmap cache from then
// on) and is counted; an id registered as missing, or unknown, gives null unless a
// file root is set, then the PNG file root/fileName is decoded.
//
// The bitmap cache is process-wide and keeps every image for good, so each test
// takes fresh ids from UniqueImageId() instead of fixed numbers.
class TestGraphics : public IGraphics
{
public:
  struct MenuRecord
  {
    IRectangle rect;
    std::vector<std::string> texts;
    std::vector<int> flags;
  };
  struct TextEntryRecord
  {
    IControl* control;
    IParamRecord* param;
    IRectangle rect;
    std::string text;
  };

  explicit TestGraphics(IPlugBase* plug, int width = 255, int height = 658, int frameRate = 25);
  ~TestGraphics() override;

  // ---- Images ----
  static int UniqueImageId();
  // Pixels row by row, w * h of them.
  void AddImage(int id, int w, int h, const std::vector<LICE_pixel>& pixels);
  void AddImage(int id, int w, int h, LICE_pixel fill);
  // Loads of id give null (a missing or undecodable resource).
  void AddMissingImage(int id);
  // Where PNG files of ids without a memory image are read: root + "/" + fileName.
  void SetFileRoot(const std::string& root) { mFileRoot = root; }
  int LoadCount(int id) const;

  // ---- Drawing helpers ----
  // The draw bitmap's pixel (CreateBackingBitmaps first); 0 outside.
  LICE_pixel PixelAt(int x, int y) const;
  void FillDrawBitmap(LICE_pixel color);
  // One redraw check of the window's timer: CollectDirtyRect, then Draw of that
  // rectangle. True when something was drawn.
  bool Tick();

  // ---- What the platform was asked ----
  std::vector<IRectangle> presents;
  std::vector<MenuRecord> menus;
  std::vector<TextEntryRecord> textEntries;
  std::vector<std::string> messages;
  // The item ShowPopupMenu chooses in the menu it is given; -1 answers no choice.
  int menuChoice = -1;

  // ---- Platform operations ----
  bool PresentToScreen(const IRectangle& r) override;
  void CancelTextEntry() override {}
  int ShowMessage(const char* text, const char* caption, int type) override;
  IMenu* ShowPopupMenu(IMenu* menu, const IRectangle& r) override;
  void OpenTextEntry(IControl* control, const ITextStyle& style, const IRectangle& r, const char* text,
                     IParamRecord* param) override;
  void HostExecutableFolder(PlugString& out) override { out.Set(""); }
  void ModuleFolder(PlugString& out) override { out.Set(""); }
  void DesktopFolder(PlugString& out) override { out.Set(""); }
  void AppDataPath(PlugString& out, bool) override { out.Set(""); }
  void UserDataPath(PlugString& out) override { out.Set(""); }
  void ChooseFile(PlugString& file, int, PlugString&, const char*) override { file.Set(""); }
  bool PickColor(IArgbColor&, const char*) override { return false; }
  bool OpenUrl(const char*, const char*, const char*, const char*) override { return false; }
  // Opens a pretend window (its handle is this object) and marks every control dirty.
  void* OpenWindow(void* parent) override;
  void CloseWindow() override { mWindowOpen = false; }
  void* GetWindowHandle() override { return mWindowOpen ? this : nullptr; }
  bool ReadClipboardText(PlugString& out) override
  {
    out.Set("");
    return false;
  }
  void ReservedHook27() override {}
  LICE_IBitmap* LoadImageResource(int id, const char* fileName) override;

private:
  struct Image
  {
    bool missing = false;
    int w = 0, h = 0;
    std::vector<LICE_pixel> pixels;
  };

  std::map<int, Image> mImages;
  std::map<int, int> mLoadCounts;
  std::string mFileRoot;
  bool mWindowOpen = false;
};
