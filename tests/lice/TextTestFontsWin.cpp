#include "TextTestFonts.h"

#include <gtest/gtest.h>

#include <vector>

namespace TextTestFonts
{

namespace
{

// The DOS name of wine's tahoma.ttf, empty when not under wine or without the file.
const std::wstring& WinesTahomaPath()
{
  static const std::wstring path = []
  {
    std::wstring dos;
#if defined(MERO_TEST_FONT_FILE)
    using ToDos = WCHAR*(CDECL*)(const char*);
    const FARPROC proc = GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_dos_file_name");
    const auto toDos = reinterpret_cast<ToDos>(reinterpret_cast<void*>(proc));
    if (WCHAR* name = toDos ? toDos(MERO_TEST_FONT_FILE) : nullptr)
    {
      dos = name;
      HeapFree(GetProcessHeap(), 0, name);
    }
#endif
    return dos;
  }();
  return path;
}

// Under wine, makes wine's Tahoma available to this process only, once.
void LoadPinnedFont()
{
  static const bool loaded = []
  {
    const std::wstring& path = WinesTahomaPath();
    return !path.empty() && AddFontResourceExW(path.c_str(), FR_PRIVATE, nullptr) > 0;
  }();
  (void)loaded;
}

std::vector<char> FileBytes(const std::wstring& path)
{
  std::vector<char> bytes;
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return bytes;
  bytes.resize(GetFileSize(file, nullptr));
  DWORD got = 0;
  if (!ReadFile(file, bytes.data(), (DWORD)bytes.size(), &got, nullptr) || got != bytes.size()) bytes.clear();
  CloseHandle(file);
  return bytes;
}

}  // namespace

HFONT Create(int height, bool italic, Smoothing smoothing)
{
  LoadPinnedFont();
  const DWORD quality = smoothing == Smoothing::kGrey ? ANTIALIASED_QUALITY : NONANTIALIASED_QUALITY;
  HFONT font = CreateFontW(height, 0, 0, 0, FW_NORMAL, italic, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                           CLIP_DEFAULT_PRECIS, quality, DEFAULT_PITCH, L"Tahoma");
  const std::string problem = PinnedFaceProblem(font);
  if (!problem.empty()) ADD_FAILURE() << "text test font of height " << height << ": " << problem;
  return font;
}

std::string PinnedFaceProblem(HFONT font)
{
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, font);
  WCHAR face[LF_FACESIZE] = {};
  GetTextFaceW(dc, LF_FACESIZE, face);
  const DWORD size = GetFontData(dc, 0, 0, nullptr, 0);
  std::vector<char> data(size == GDI_ERROR ? 0 : size);
  if (!data.empty() && GetFontData(dc, 0, 0, data.data(), size) != size) data.clear();
  SelectObject(dc, old);
  DeleteDC(dc);

  if (std::wstring(face) != L"Tahoma") return "drawn with another face than Tahoma";
  if (!UnderWine()) return "";
  if (WinesTahomaPath().empty()) return "wine's tahoma.ttf (fonts-wine) was not found when the tests were built";
  if (data != FileBytes(WinesTahomaPath())) return "Tahoma here is not wine's own tahoma.ttf";
  return "";
}

SIZE Measure(HFONT font, const std::wstring& text, UINT format)
{
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, font);
  RECT r = {0, 0, 0, 0};
  DrawTextW(dc, text.c_str(), (int)text.size(), &r, format | DT_CALCRECT | DT_NOPREFIX);
  SelectObject(dc, old);
  DeleteDC(dc);
  return SIZE{r.right - r.left, r.bottom - r.top};
}

void Draw(LICE_IBitmap& bm, HFONT font, const std::wstring& text, int x, int y, COLORREF color, UINT format)
{
  HDC dc = bm.getDC();
  HGDIOBJ old = SelectObject(dc, font);
  SetTextColor(dc, color);
  SetBkMode(dc, TRANSPARENT);
  RECT r = {x, y, bm.getWidth(), bm.getHeight()};
  DrawTextW(dc, text.c_str(), (int)text.size(), &r, format | DT_NOPREFIX);
  GdiFlush();
  SelectObject(dc, old);
}

bool UnderWine()
{
  HKEY key;
  if (RegOpenKeyA(HKEY_LOCAL_MACHINE, "Software\\Wine", &key) != ERROR_SUCCESS) return false;
  RegCloseKey(key);
  return true;
}

}  // namespace TextTestFonts
