#include "Renderer.h"

Renderer::Renderer(EffectEngine& engine, int block)
  : mEngine(engine)
  , mBlock(block)
{
}

void Renderer::Measure(LoudnessMeter* input, LoudnessMeter* output)
{
  mInputMeter = input;
  mOutputMeter = output;
}

bool Renderer::Run(AudioSource& source, WavWriter* writer, std::FILE* progress, const volatile std::sig_atomic_t* stop,
                   std::string& error)
{
  const int channels = source.Channels();
  const size_t block = static_cast<size_t>(mBlock);
  std::vector<float> interleaved(block * static_cast<size_t>(channels));
  std::vector<std::vector<float>> in(static_cast<size_t>(channels), std::vector<float>(block));
  std::vector<std::vector<float>> out(static_cast<size_t>(channels), std::vector<float>(block));
  std::vector<const float*> inPtrs;
  std::vector<float*> outPtrs;
  for (int c = 0; c < channels; ++c)
  {
    inPtrs.push_back(in[static_cast<size_t>(c)].data());
    outPtrs.push_back(out[static_cast<size_t>(c)].data());
  }

  const int64_t total = source.Frames();
  int64_t done = 0;
  int shownPercent = -1;
  const auto endProgressLine = [&]
  {
    if (shownPercent >= 0) std::fprintf(progress, "\n");
    shownPercent = -1;
  };
  for (;;)
  {
    if (stop && *stop)
    {
      endProgressLine();
      error = "interrupted";
      return false;
    }
    const int64_t got = source.Read(interleaved.data(), mBlock);
    if (got < 0)
    {
      endProgressLine();
      error = "input cannot be read after frame " + std::to_string(done);
      return false;
    }
    if (got == 0) break;
    const int frames = static_cast<int>(got);
    if (mInputMeter) mInputMeter->Add(interleaved.data(), got);
    for (int i = 0; i < frames; ++i)
      for (int c = 0; c < channels; ++c)
        in[static_cast<size_t>(c)][static_cast<size_t>(i)] = interleaved[static_cast<size_t>(i * channels + c)];
    mEngine.Process(inPtrs.data(), outPtrs.data(), frames);
    for (int i = 0; i < frames; ++i)
      for (int c = 0; c < channels; ++c)
        interleaved[static_cast<size_t>(i * channels + c)] = out[static_cast<size_t>(c)][static_cast<size_t>(i)];
    if (mOutputMeter) mOutputMeter->Add(interleaved.data(), got);
    if (writer && !writer->Write(interleaved.data(), got, error))
    {
      endProgressLine();
      return false;
    }
    done += got;

    if (progress && total > 0)
    {
      const int percent = static_cast<int>(done * 100 / total);
      if (percent != shownPercent)
      {
        std::fprintf(progress, "\rmero-render: %3d%%", percent);
        std::fflush(progress);
        shownPercent = percent;
      }
    }
  }
  endProgressLine();

  if (done != total)
  {
    error = "input ended after " + std::to_string(done) + " of " + std::to_string(total) + " frames";
    return false;
  }
  return true;
}
