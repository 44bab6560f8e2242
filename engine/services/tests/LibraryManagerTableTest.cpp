// The global service table the library manager fills, and the renderer-side
// base classes the plug-ins derive from.
#include <gtest/gtest.h>

#include "engine/services/C3DPass.h"
#include "engine/services/C3DResource.h"
#include "engine/services/CoreInput.h"
#include "engine/entity/EntityManager.h"
#include "engine/services/GlobalWrapper.h"
#include "engine/config/LanguageManager.h"

namespace {

platform::RECT g_windowRect;
bool FakeGetWindowRect(platform::HWND, platform::RECT* rect) {
  *rect = g_windowRect;
  return true;
}
int32_t FakeMetrics(int32_t index) {
  switch (index) {
    case platform::SM_CXSIZEFRAME: return 4;
    case platform::SM_CYSIZEFRAME: return 5;
    case platform::SM_CYCAPTION: return 20;
    default: return 0;
  }
}

TEST(GlobalWrapper, ClientRectangleIsTheWindowLessFrameAndCaption) {
  cCore_GlobalWrapper table;
  table.UpdateClientRect();  // no window yet: all zero stays
  EXPECT_EQ(table.clientRect.left + table.clientRect.top + table.clientRect.right + table.clientRect.bottom, 0);
  table.SetWindowQueries(&FakeGetWindowRect, &FakeMetrics);
  table.UpdateClientRect();
  EXPECT_EQ(table.clientRect.right, 0);
  g_windowRect = {100, 50, 900, 650};
  table.SetWindow(reinterpret_cast<platform::HWND>(0x1000));
  table.UpdateClientRect();
  EXPECT_EQ(table.clientRect.left, 104);
  EXPECT_EQ(table.clientRect.top, 75);
  EXPECT_EQ(table.clientRect.right, 896);
  EXPECT_EQ(table.clientRect.bottom, 645);
}

TEST(GlobalWrapper, CreatesItsRegistriesAndClearsThemOnce) {
  cKV9_GlobalWrapper table;
  ASSERT_NE(table.actionFactory, nullptr);
  ASSERT_NE(table.commandRegistry, nullptr);
  ASSERT_NE(table.languageManager, nullptr);
  ASSERT_NE(table.entityManager, nullptr);
  ASSERT_NE(table.entityManagerContext, nullptr);
  EXPECT_EQ(table.entityManager->GetGlobalWrapper(), &table);
  EXPECT_EQ(table.entityManager->GetUserPointer(), table.entityManagerContext);
  EXPECT_EQ(table.entityManager->GetActionFactory(), table.actionFactory);
  EXPECT_EQ(table.languageManager->GetCommandFactory(), table.commandRegistry);
  table.configOptions["opt"] = new CoreBaseConfig{"opt", "1", "0", "int", "an option", "0", "9"};
  table.ClearConfigOptions();
  EXPECT_TRUE(table.configOptions.empty());
  EXPECT_EQ(table.entityManager, nullptr);
  EXPECT_EQ(table.actionFactory, nullptr);
  EXPECT_EQ(table.languageManager, nullptr);
  EXPECT_EQ(table.commandRegistry, nullptr);
  table.ClearConfigOptions();  // nothing left to destroy
}

class PlainInput final : public CoreInput {
 public:
  bool Init() override { return true; }
  void Shutdown() override {}
  void LoadConfig() override {}
  uint32_t GetConfig(CoreBaseConfigMap**) override { return 0; }
  bool ApplyConfig() override { return true; }
  void ClearConfig() override {}
  const char* GetName() override { return "plain"; }
  const char* GetDescription() override { return "plain"; }
  eServiceType GetServiceType() override { return eService_Input; }
  CoreStatus Init(platform::HWND, platform::HINSTANCE, void*) override { return 0; }
  CoreStatus Update(float) override { return 0; }
  CoreStatus ReservedA() override { return 0; }
  CoreStatus ReservedB() override { return 0; }
  void Suspend() override {}
  void Reacquire() override {}
  void SetClientRectRef(const platform::RECT*) override {}
  void SetReceiver(cCore_Base_InputMGR*) override {}
  CoreStatus UnacquireDevices() override { return 0; }
  CoreStatus RestoreDevices() override { return 0; }
};

TEST(GlobalWrapper, InputThatIsNoDeviceManagerLeavesTheDeviceFieldEmpty) {
  cKV9_GlobalWrapper table;
  PlainInput plain;
  EXPECT_EQ(table.SetInput(&plain), &plain);
  EXPECT_EQ(table.input, &plain);
  EXPECT_EQ(table.inputDevices, nullptr);
  EXPECT_EQ(table.SetInput(nullptr), nullptr);
  EXPECT_EQ(table.inputDevices, nullptr);
  EXPECT_EQ(sizeof(table.furtherWord), sizeof(void*));
}

class CountingResource final : public C3DResource {
 public:
  using C3DResource::C3DResource;
  void OnUnreferenced() override { ++unreferenced; }
  int unreferenced = 0;
};

TEST(C3DResource, CountsReferencesAndHashesItsName) {
  EXPECT_EQ(C3DResource::HashResourceName(""), 0);
  EXPECT_EQ(C3DResource::HashResourceName("abc"), 8838);
  EXPECT_EQ(C3DResource::HashResourceName("\xff"), 0xFFFF);  // bytes count as signed
  CountingResource resource(nullptr, 0x10, "wall.tga");
  EXPECT_EQ(resource.GetRefCount(), 1);
  EXPECT_EQ(resource.GetRegistryIndex(), -1);
  EXPECT_EQ(resource.GetFlags(), 0x10u);
  EXPECT_EQ(resource.GetName(), "wall.tga");
  resource.AddRef();
  resource.Release();
  EXPECT_EQ(resource.unreferenced, 0);
  resource.Release();
  EXPECT_EQ(resource.unreferenced, 1);
  resource.Release();  // already at zero: no wrap-around, no second call
  EXPECT_EQ(resource.GetRefCount(), 0);
  EXPECT_EQ(resource.unreferenced, 1);
}

class RecordingEntity final : public C3DEntity {
 public:
  void OnPassBegin(C3DPass*) override { calls += "b"; }
  void Render(C3DPass*) override { calls += "r"; }
  void OnPassEnd(C3DPass*) override { calls += "e"; }
  std::string calls;
};

TEST(C3DPass, EntityListKeepsItsLengthAndCompactsWhenFull) {
  C3DPass pass;
  RecordingEntity entity;
  for (int i = 0; i < 64; ++i) pass.AddEntity(&entity);
  EXPECT_EQ(pass.GetEntityCapacity(), 64u);
  pass.RenderEntities();
  EXPECT_EQ(entity.calls.size(), 64u);
  pass.ClearEntities();
  EXPECT_EQ(pass.GetEntityCount(), 64);
  pass.AddEntity(&entity);  // the 65th compacts the nulled list first
  EXPECT_EQ(pass.GetEntityCount(), 1);
  EXPECT_EQ(pass.GetEntityCapacity(), 64u);
  for (int i = 0; i < 63; ++i) pass.AddEntity(&entity);
  pass.AddEntity(&entity);  // full of live entries: grows
  EXPECT_EQ(pass.GetEntityCapacity(), 128u);
  EXPECT_EQ(pass.GetEntity(64), &entity);
  EXPECT_EQ(pass.GetEntity(65), nullptr);
  EXPECT_EQ(pass.GetEntity(-1), nullptr);
}

TEST(C3DPass, ItemsHooksAndBaseDefaults) {
  C3DPass pass;
  int a = 0, b = 0, c = 0;
  EXPECT_EQ(pass.InsertItem(&a, -1), 1);
  EXPECT_EQ(pass.InsertItem(&b, 5), 2);  // past the end appends
  EXPECT_EQ(pass.InsertItem(&c, 0), 3);
  EXPECT_EQ(pass.GetItem(0), &c);
  EXPECT_EQ(pass.GetItem(2), &b);
  pass.RemoveItem(7);
  pass.RemoveItem(0);
  EXPECT_EQ(pass.GetItemCount(), 2);
  EXPECT_EQ(pass.GetItem(0), &a);

  RecordingEntity hook;
  pass.RunBeginHook();  // no hook: nothing
  pass.SetBeginHook(&hook);
  pass.SetEndHook(&hook);
  pass.RunBeginHook();
  pass.RunPrepareHook();
  pass.RunEndHook();
  EXPECT_EQ(hook.calls, "be");
  EXPECT_EQ(pass.GetIndex(), -1);
  EXPECT_TRUE(pass.IsSorted());
  EXPECT_FALSE(pass.IsDeviceBacked());
  EXPECT_FALSE(pass.IsFogEnabled());
  EXPECT_EQ(pass.GetLightCount(), 0);
}

}  // namespace
