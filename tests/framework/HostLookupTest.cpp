#include <gtest/gtest.h>

#include <string>

#include "HostLookup.h"

TEST(LookUpHost, FragmentsMatchAnywhereIgnoringCase)
{
  EXPECT_EQ(LookUpHost("Cubase 10.5"), kHostCubase);
  EXPECT_EQ(LookUpHost("CUBASE"), 3);
  EXPECT_EQ(LookUpHost("Nuendo"), 4);
  EXPECT_EQ(LookUpHost("Ableton Live 11"), 9);
  EXPECT_EQ(LookUpHost("Deliverance Studio"), 9);
  EXPECT_EQ(LookUpHost("REAPER64"), 1);
  EXPECT_EQ(LookUpHost("VST3PluginTestHost"), 27);
}

TEST(LookUpHost, EarlierRowsWin)
{
  EXPECT_EQ(LookUpHost("reaper with cubase bridge"), 3);
  // "live" precedes "logic" and "digital"; "digital" precedes "presonus".
  EXPECT_EQ(LookUpHost("Logic Live"), 9);
  EXPECT_EQ(LookUpHost("PreSonus Digital"), 23);
}

TEST(LookUpHost, EveryRowOfTheTable)
{
  const struct
  {
    const char* name;
    int code;
  } rows[] = {{"cubase", 3},      {"reaper", 1},      {"nuendo", 4},
              {"cakewalk", 5},    {"samplitude", 8},  {"fruity", 7},
              {"live", 9},        {"melodyne", 12},   {"vstmanlib", 13},
              {"aulab", 14},      {"garageband", 22}, {"forte", 15},
              {"chainer", 16},    {"audition", 17},   {"orion", 18},
              {"sawstudio", 20},  {"logic", 21},      {"digital", 23},
              {"audiomulch", 25}, {"presonus", 26},   {"vst3plugintesthost", 27},
              {"protools", 2},    {"ardour", 28},     {"openmpt", 30},
              {"renoise", 29},    {"standalone", 24}};
  for (const auto& row : rows) EXPECT_EQ(LookUpHost(row.name), row.code) << row.name;
}

TEST(LookUpHost, UnknownNames)
{
  EXPECT_EQ(LookUpHost("Pro Tools"), 0);
  EXPECT_EQ(LookUpHost("ProTools"), 2);
  EXPECT_EQ(LookUpHost(""), 0);
  EXPECT_EQ(LookUpHost(nullptr), 0);
  EXPECT_EQ(LookUpHost("Bitwig Studio"), 0);
  EXPECT_EQ(LookUpHost("\xC4\xE4 cubas\xE9"), 0);
}

TEST(LookUpHost, OnlyTheFirst255CharactersCount)
{
  std::string name(300, 'x');
  name.replace(250, 6, "reaper");
  EXPECT_EQ(LookUpHost(name.c_str()), 0);
  name.replace(240, 6, "reaper");
  EXPECT_EQ(LookUpHost(name.c_str()), 1);
}
