// mero-editor-screenshot [--scale F] MODULE OUTPUT.ppm
// Opens MERO's editor from the module in a host window (default settings), lets it draw,
// and writes the window's area as a binary PPM. With --scale the host tells the view the
// content scale F (0.75 ... 3) before attaching it. Needs a display: the Windows build
// runs under wine, the Linux build on $DISPLAY (tools/editor-screenshot provides one).

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "tools/vst3host/EditorWindow.h"
#include "tools/vst3host/HostApplication.h"
#include "tools/vst3host/Vst3Module.h"
#include "tools/vst3host/Vst3Plugin.h"

namespace
{

bool WritePpm(const char* path, const std::vector<uint8_t>& rgba, int width, int height)
{
  FILE* file = fopen(path, "wb");
  if (!file) return false;
  bool written = fprintf(file, "P6\n%d %d\n255\n", width, height) > 0;
  for (size_t i = 0; written && i + 3 < rgba.size(); i += 4) written = fwrite(&rgba[i], 1, 3, file) == 3;
  return fclose(file) == 0 && written;
}

}  // namespace

int main(int argc, char** argv)
{
  float scale = 0.0f;
  if (argc == 5 && std::strcmp(argv[1], "--scale") == 0)
  {
    char* end = nullptr;
    scale = std::strtof(argv[2], &end);
    if (*end || !(scale >= 0.75f && scale <= 3.0f))
    {
      fprintf(stderr, "mero-editor-screenshot: --scale takes a number from 0.75 to 3, not %s\n", argv[2]);
      return 2;
    }
    argv += 2;
    argc -= 2;
  }
  if (argc != 3)
  {
    fprintf(stderr, "usage: mero-editor-screenshot [--scale F] MODULE OUTPUT.ppm\n");
    return 2;
  }
  mero::Vst3Module module;
  if (!module.Open(argv[1]))
  {
    fprintf(stderr, "mero-editor-screenshot: cannot load %s\n", argv[1]);
    return 1;
  }
  int status = 1;
  {
    mero::Vst3Plugin plugin;
    Steinberg::IPtr<mero::HostApplication> host(new mero::HostApplication, false);
    mero::EditorWindow window;
    std::vector<uint8_t> rgba;
    int width = 0;
    int height = 0;
    if (!plugin.Create(module) || plugin.Initialize(host->unknownCast()) != Steinberg::kResultOk)
      fprintf(stderr, "mero-editor-screenshot: no plug-in instance\n");
    else if (scale > 0.0f && !window.SetContentScale(scale))
      fprintf(stderr, "mero-editor-screenshot: no content scale\n");
    else if (!window.Open(plugin.Controller(), 0, 0))
      fprintf(stderr, "mero-editor-screenshot: the editor did not open\n");
    else
    {
      window.Pump(200);  // a few timer periods: every control drawn
      if (!window.Capture(rgba, width, height))
        fprintf(stderr, "mero-editor-screenshot: no capture of the window\n");
      else if (!WritePpm(argv[2], rgba, width, height))
        fprintf(stderr, "mero-editor-screenshot: cannot write %s\n", argv[2]);
      else
        status = 0;
    }
    window.Close();
  }
  return status;
}
