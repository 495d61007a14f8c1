// The module's entry points, factory and class information, read through the host.

#include <gtest/gtest.h>

#include <cstring>

#include "ModuleUnderTest.h"
#include "pluginterfaces/vst/ivstaudioprocessor.h"
#include "pluginterfaces/vst/ivstcomponent.h"
#include "pluginterfaces/vst/ivsteditcontroller.h"

using namespace Steinberg;

namespace
{
const unsigned char kClassId[16] = {0x0D, 0xE7, 0xAE, 0xF2, 0xDE, 0x00, 0x4E, 0x4F,
                                    0x50, 0x72, 0x76, 0x6C, 0x4D, 0x65, 0x72, 0x31};

IPluginFactory* Factory()
{
  return ModuleUnderTest::Get().Factory();
}
}  // namespace

TEST(Module, ExportsTheEntryPointsOfItsPlatform)
{
  mero::Vst3Module& module = ModuleUnderTest::Get();
  ASSERT_TRUE(module.IsOpen()) << ModuleUnderTest::Path();
  EXPECT_NE(module.Symbol("GetPluginFactory"), nullptr);
#ifdef _WIN32
  EXPECT_NE(module.Symbol("InitDll"), nullptr);
  EXPECT_NE(module.Symbol("ExitDll"), nullptr);
#else
  EXPECT_NE(module.Symbol("ModuleEntry"), nullptr);
  EXPECT_NE(module.Symbol("ModuleExit"), nullptr);
#endif
}

TEST(Module, OpensAgainAfterClosing)
{
  for (int i = 0; i < 3; ++i)
  {
    mero::Vst3Module module;
    ASSERT_TRUE(module.Open(ModuleUnderTest::Path()));
    EXPECT_EQ(module.Factory()->countClasses(), 1);
    module.Close();
    EXPECT_FALSE(module.IsOpen());
  }
  EXPECT_FALSE(mero::Vst3Module().Open(ModuleUnderTest::Path() + ".missing"));
}

TEST(Factory, GetPluginFactoryHandsOutTheSameObjectWithOneMoreReference)
{
  auto getFactory = reinterpret_cast<GetFactoryProc>(ModuleUnderTest::Get().Symbol("GetPluginFactory"));
  ASSERT_NE(getFactory, nullptr);
  IPluginFactory* again = getFactory();
  EXPECT_EQ(again, Factory());
  EXPECT_EQ(again->addRef(), 3u);  // the module's open reference, this call's, this addRef
  again->release();
  again->release();
}

TEST(Factory, InformationNamesTheVendorWithUnicodeFlag)
{
  PFactoryInfo info;
  ASSERT_EQ(Factory()->getFactoryInfo(&info), kResultOk);
  EXPECT_STREQ(info.vendor, "Parvolen");
  EXPECT_EQ(info.flags, 16);
  EXPECT_GT(std::strlen(info.url), 0u);
  EXPECT_GT(std::strlen(info.email), 0u);
  EXPECT_EQ(Factory()->getFactoryInfo(nullptr), kInvalidArgument);
}

TEST(Factory, OffersOneAudioEffectClass)
{
  IPtr<IPluginFactory2> factory2(ModuleUnderTest::Get().Factory2(), false);
  ASSERT_TRUE(factory2);
  ASSERT_EQ(factory2->countClasses(), 1);
  PClassInfo2 info;
  ASSERT_EQ(factory2->getClassInfo2(0, &info), kResultOk);
  EXPECT_EQ(std::memcmp(info.cid, kClassId, 16), 0);
  EXPECT_EQ(info.cardinality, PClassInfo::kManyInstances);
  EXPECT_STREQ(info.category, "Audio Module Class");
  EXPECT_STREQ(info.name, "MERO");
  EXPECT_EQ(info.classFlags, 2u);
  EXPECT_STREQ(info.subCategories, "Fx");
  EXPECT_STREQ(info.vendor, "");
  EXPECT_STREQ(info.version, MERO_PROJECT_VERSION);
  EXPECT_STREQ(info.sdkVersion, "VST 3.6.12");

  PClassInfo plain;
  ASSERT_EQ(Factory()->getClassInfo(0, &plain), kResultOk);
  EXPECT_EQ(std::memcmp(plain.cid, kClassId, 16), 0);
  EXPECT_STREQ(plain.name, "MERO");

  FUnknownPtr<IPluginFactory3> factory3(Factory());
  ASSERT_TRUE(factory3);
  PClassInfoW wide;
  ASSERT_EQ(factory3->getClassInfoUnicode(0, &wide), kResultOk);
  EXPECT_EQ(wide.name[0], 'M');
  EXPECT_EQ(wide.sdkVersion[4], '3');

  EXPECT_EQ(factory2->getClassInfo2(1, &info), kInvalidArgument);
  EXPECT_EQ(factory2->getClassInfo2(-1, &info), kInvalidArgument);
  EXPECT_EQ(factory2->getClassInfo2(0, nullptr), kInvalidArgument);
  EXPECT_EQ(Factory()->getClassInfo(1, &plain), kInvalidArgument);
}

TEST(Factory, CreatesOneCombinedComponentForEitherInterface)
{
  const char* cid = reinterpret_cast<const char*>(kClassId);
  Vst::IComponent* component = nullptr;
  Vst::IAudioProcessor* processor = nullptr;
  ASSERT_EQ(Factory()->createInstance(cid, Vst::IComponent::iid, reinterpret_cast<void**>(&component)), kResultOk);
  ASSERT_EQ(Factory()->createInstance(cid, Vst::IAudioProcessor::iid, reinterpret_cast<void**>(&processor)), kResultOk);

  FUnknownPtr<Vst::IAudioProcessor> sameObject(component);
  EXPECT_TRUE(sameObject);
  FUnknownPtr<Vst::IEditController> controller(component);
  EXPECT_TRUE(controller);
  EXPECT_NE(static_cast<FUnknown*>(processor), static_cast<FUnknown*>(sameObject.getInterface()));
  processor->release();
  component->release();

  void* obj = reinterpret_cast<void*>(1);
  char wrong[16] = {};
  EXPECT_EQ(Factory()->createInstance(wrong, Vst::IComponent::iid, &obj), kNoInterface);
  EXPECT_EQ(obj, nullptr);
  EXPECT_EQ(Factory()->createInstance(cid, IPluginFactory::iid, &obj), kNoInterface);
  EXPECT_EQ(obj, nullptr);
  EXPECT_EQ(Factory()->createInstance(cid, Vst::IComponent::iid, nullptr), kInvalidArgument);
  EXPECT_EQ(Factory()->createInstance(nullptr, Vst::IComponent::iid, &obj), kInvalidArgument);
}
