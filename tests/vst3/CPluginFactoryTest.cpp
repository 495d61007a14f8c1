// The factory class on its own, with stand-in classes.

#include <gtest/gtest.h>

#include <cstring>

#include "base/source/fobject.h"
#include "vst3/CPluginFactory.h"

using namespace Steinberg;

namespace
{
FUnknown* CreateObject(void* context)
{
  ++*static_cast<int*>(context);
  return (new FObject)->unknownCast();
}

FUnknown* CreateNothing(void*)
{
  return nullptr;
}

PClassInfo2 ClassInfo(char firstByte, const char* name)
{
  TUID cid = {};
  cid[0] = firstByte;
  return PClassInfo2(cid, PClassInfo::kManyInstances, "Service", name, 0, "", "", "1.0", "VST 3.6.12");
}
}  // namespace

TEST(CPluginFactory, RegistersEachClassOnceAndCreatesThroughItsFunction)
{
  int created = 0;
  auto* factory = new CPluginFactory(PFactoryInfo("Maker", "u", "e", PFactoryInfo::kUnicode));
  gPluginFactory = factory;
  const PClassInfo2 a = ClassInfo(1, "A");
  const PClassInfo2 b = ClassInfo(2, "B");
  EXPECT_TRUE(factory->registerClass(&a, CreateObject, &created));
  EXPECT_FALSE(factory->registerClass(&a, CreateObject, &created));
  EXPECT_FALSE(factory->registerClass(nullptr, CreateObject));
  EXPECT_TRUE(factory->registerClass(&b, CreateNothing));
  EXPECT_EQ(factory->countClasses(), 2);

  PClassInfoW wide;
  ASSERT_EQ(factory->getClassInfoUnicode(1, &wide), kResultOk);
  EXPECT_EQ(wide.name[0], 'B');
  EXPECT_EQ(wide.name[1], 0);

  void* obj = nullptr;
  ASSERT_EQ(factory->createInstance(a.cid, FUnknown::iid, &obj), kResultOk);
  EXPECT_EQ(created, 1);
  EXPECT_EQ(static_cast<FUnknown*>(obj)->release(), 0u);  // the caller holds the only reference
  EXPECT_EQ(factory->createInstance(b.cid, FUnknown::iid, &obj), kOutOfMemory);
  EXPECT_EQ(obj, nullptr);
  EXPECT_EQ(factory->setHostContext(nullptr), kNotImplemented);

  {
    FUnknownPtr<IPluginFactory3> factory3(static_cast<IPluginFactory*>(factory));
    EXPECT_TRUE(factory3);
    EXPECT_EQ(factory->queryInterface(FObject::iid, &obj), kNoInterface);
    EXPECT_EQ(factory->queryInterface(FUnknown::iid, nullptr), kInvalidArgument);
    factory->release();
    EXPECT_EQ(gPluginFactory, factory);  // factory3 still holds it
  }
  EXPECT_EQ(gPluginFactory, nullptr);
}
