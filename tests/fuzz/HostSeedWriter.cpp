// Writes the seed corpus of the host fuzzer into the folder given as its argument: a
// few host sessions in the fuzzer's encoding (HostScript.h, arguments as FuzzHost reads
// them), from which libFuzzer mutates its way to the odd ones.

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "HostScript.h"

namespace
{
using Script = std::vector<unsigned char>;

unsigned char Op(HostOp op)
{
  return static_cast<unsigned char>(op);
}

// initialize with a named host, stereo in and out, both buses on, 32- or 64-bit setup
// of 512 frames at 44.1 kHz, active.
Script Prepare(bool sixtyFour)
{
  return {Op(HostOp::kInitialize),
          1,
          Op(HostOp::kArrange),
          4,
          1,
          1,
          1,
          1,
          Op(HostOp::kActivateBus),
          0x83,
          0,
          Op(HostOp::kActivateBus),
          0x80,
          0,
          Op(HostOp::kSetup),
          0,
          static_cast<unsigned char>(sixtyFour ? 1 : 0),
          6,
          0,
          0,
          Op(HostOp::kSetActive),
          1};
}

// A 512-frame stereo block with automation of parameter tag (by its entry in the
// fuzzer's table; 0 by default) to the value of entry value, and of the bypass; a sine in.
Script Block(bool sixtyFour, unsigned char tag = 0, unsigned char value = 1)
{
  return {Op(HostOp::kProcess),
          static_cast<unsigned char>(sixtyFour ? 1 : 0),
          0,
          7,
          4,
          1,
          2,
          tag,
          1,
          value,
          0,
          11,
          1,
          0,
          0,
          2,
          0,
          1,
          2,
          0,
          0};
}

// Entries of the fuzzer's tables: the tag of "Quality", and the values 0.5 and 1.0.
constexpr unsigned char kQualityTag = 9;
constexpr unsigned char kHalf = 1;
constexpr unsigned char kOne = 2;

Script Join(std::initializer_list<Script> parts)
{
  Script all;
  for (const Script& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}
}  // namespace

int main(int argc, char** argv)
{
  if (argc != 2)
  {
    std::fprintf(stderr, "usage: %s <corpus folder>\n", argv[0]);
    return 2;
  }
  const std::vector<Script> seeds = {
      Join({Prepare(false), Block(false), Block(false)}),
      Join({Prepare(true), Block(true), {Op(HostOp::kSetup), 0, 0, 6, 0, 0}, Block(false)}),
      Join({Prepare(false), {Op(HostOp::kGetState), 0, 0, Op(HostOp::kSetState), 3, 2}, Block(false)}),
      Join({Prepare(false), {Op(HostOp::kSetState), 0, 40}, Script(40, 0x7F), Block(false)}),
      Join(
          {{Op(HostOp::kInitialize), 0, Op(HostOp::kInitialize), 2, Op(HostOp::kTerminate), Op(HostOp::kInitialize), 1},
           {Op(HostOp::kArrange), 4, 0, 0, 0, 0},
           Block(false)}),
      Join({Prepare(false), {Op(HostOp::kController), 11, 0, 1, Op(HostOp::kController), 10, 3, 1}, Block(false)}),
      Join({Prepare(false), {Op(HostOp::kProcess), 0, 0, 11, 3, 0, 0, 0, 2, 0, 0}}),
      // "Quality" automated, set by the controller and read from its names, then states of
      // the length from before it, too long, and with its value on and off its positions.
      Join({Prepare(false), Block(false, kQualityTag, kOne), Block(false, kQualityTag, kHalf), Block(false)}),
      Join({Prepare(true),
            {Op(HostOp::kController), kQualityTag, 0, kOne, Op(HostOp::kController), kQualityTag, 3, 11},
            Block(true)}),
      Join({Prepare(false),
            {Op(HostOp::kSetState), 7, 1, Op(HostOp::kSetState), 7, 0, 3, Op(HostOp::kSetState), 8, 1, 2,
             Op(HostOp::kSetState), 8, 0, 5},
            Block(false)}),
  };
  const std::string folder = argv[1];
  std::error_code error;
  std::filesystem::create_directories(folder, error);
  for (size_t i = 0; i < seeds.size(); ++i)
  {
    const std::string path = folder + "/seed" + std::to_string(i);
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return 1;
    std::fwrite(seeds[i].data(), 1, seeds[i].size(), file);
    std::fclose(file);
  }
  return 0;
}
