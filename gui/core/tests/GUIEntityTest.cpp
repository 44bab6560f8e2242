// The entity base: child order, lookups, transforms, texture coordinates,
// exit, collision shapes, the segment-box test and both pick rays.
#include <gtest/gtest.h>

#include "gui/core/tests/GUITestKit.h"

namespace {

using guitest::Kit;

TEST(GUIEntity, ChildrenKeepDescendingDepthWithEqualsInArrivalOrder) {
  Kit kit;
  GUIEntity parent(&kit.manager);
  struct Child {
    const char* name;
    float z;
  };
  const Child made[] = {{"z0", 0.0f}, {"z5a", 5.0f}, {"z5b", 5.0f}, {"z2", 2.0f}};
  std::vector<std::unique_ptr<GUIEntity>> children;
  for (const Child& c : made) {
    children.push_back(std::make_unique<GUIEntity>(&kit.manager));
    children.back()->SetName(c.name);
    children.back()->SetPosition(0.0f, 0.0f, c.z, false);
    parent.AddChild(children.back().get(), false);
  }
  std::vector<std::string> order;
  for (int32_t i = 0; i < parent.GetChildCount(); ++i) order.push_back(parent.GetChild(i)->GetName());
  EXPECT_EQ(order, (std::vector<std::string>{"z5a", "z5b", "z2", "z0"}));
  EXPECT_EQ(parent.GetChild(-1), nullptr);
  EXPECT_EQ(parent.GetChild(4), nullptr);
  EXPECT_EQ(parent.FindChild("Z2"), children[3].get());
  EXPECT_EQ(parent.RemoveChild(&parent), status::Fail);
}

TEST(GUIEntity, TransformsStayStaleWithoutUpdateAndFollowTheParent) {
  Kit kit;
  GUIEntity parent(&kit.manager);
  GUIEntity child(&kit.manager);
  parent.AddChild(&child, true);
  parent.SetPosition(10.0f, 20.0f, 0.0f, false);
  child.SetPosition(1.0f, 2.0f, 3.0f, false);
  EXPECT_EQ(child.GetWorldMatrixPtr()->m[3][0], 0.0f);  // stale
  parent.UpdateTransform();
  const JMatrix& world = *child.GetWorldMatrixPtr();
  EXPECT_FLOAT_EQ(world.m[3][0], 11.0f);
  EXPECT_FLOAT_EQ(world.m[3][1], 22.0f);
  EXPECT_FLOAT_EQ(world.m[3][2], 3.0f);
  child.SetScale(2.0f, 3.0f, 1.0f, true);
  child.SetOrigin(1.0f, 1.0f, 0.0f, true);
  // The origin goes through the scale: (1, 1) * (2, 3) + (11, 22).
  EXPECT_FLOAT_EQ(child.GetWorldMatrixPtr()->m[3][0], 13.0f);
  EXPECT_FLOAT_EQ(child.GetWorldMatrixPtr()->m[3][1], 25.0f);
}

TEST(GUIEntity, TextureCoordinateSettersTouchTheirOwnPairs) {
  Kit kit;
  GUIEntity e(&kit.manager);
  float u[2];
  float v[2];
  e.SetUV0(0.25f, 0.75f);
  e.GetUV0(u);
  e.GetUV1(v);
  EXPECT_EQ(u[0], 0.25f);
  EXPECT_EQ(u[1], 0.75f);
  EXPECT_EQ(v[0], 0.0f);
  EXPECT_EQ(v[1], 1.0f);
  e.SetUVCoords(0.1f, 0.2f, 0.3f, 0.4f);
  e.GetUV0(u);
  e.GetUV1(v);
  EXPECT_EQ(u[0], 0.1f);
  EXPECT_EQ(v[0], 0.2f);
  EXPECT_EQ(u[1], 0.3f);
  EXPECT_EQ(v[1], 0.4f);
}

TEST(GUIEntity, ExitRunsOnceAndGivesEachHeldResourceBackOnce) {
  Kit kit;
  C3DBaseShader* shader = kit.renderer.CreateShader(0, "shared");
  C3DModel* model = kit.renderer.CreateModel(0, "model");
  {
    GUIEntity a(&kit.manager);
    GUIEntity b(&kit.manager);
    a.SetShader(shader);
    b.SetShader(shader);
    a.SetModel(model);
    EXPECT_EQ(shader->GetRefCount(), 3);
    a.SetShader(shader);  // the same again takes nothing more
    EXPECT_EQ(shader->GetRefCount(), 3);
    a.MarkForRemoval();
    a.Exit();  // a second exit releases nothing again
    EXPECT_EQ(shader->GetRefCount(), 2);
    EXPECT_EQ(model->GetRefCount(), 1);
    EXPECT_EQ(b.GetShader(), shader);
  }
  EXPECT_EQ(shader->GetRefCount(), 1);  // the creator's own reference is left
}

TEST(GUIEntity, CollisionShapes) {
  Kit kit;
  struct Case {
    const char* name;
    uint8_t type;
    std::vector<GUICollisionShape> shapes;
    float hitX, hitY;  // fractions of a 10 x 10 box
    bool inside;
  };
  const Case cases[] = {
      {"box always", GUICOLLIDE_BOX, {}, 0.9f, 0.9f, true},
      {"ellipse without a shape counts the box", GUICOLLIDE_ELLIPSE, {}, 0.9f, 0.9f, true},
      {"ellipse inside", GUICOLLIDE_ELLIPSE, {{1, 5, 5, 3, 0, 0}}, 0.6f, 0.6f, true},
      {"ellipse outside", GUICOLLIDE_ELLIPSE, {{1, 5, 5, 3, 0, 0}}, 0.9f, 0.9f, false},
      {"complex rectangle", GUICOLLIDE_COMPLEX, {{0, 0, 0, 0, 2, 2}, {0, 6, 6, 0, 4, 4}}, 0.7f, 0.7f, true},
      {"complex miss", GUICOLLIDE_COMPLEX, {{0, 0, 0, 0, 2, 2}}, 0.7f, 0.7f, false},
      {"unknown shape type ends the search", GUICOLLIDE_COMPLEX, {{7, 0, 0, 0, 0, 0}, {0, 0, 0, 0, 10, 10}}, 0.5f,
       0.5f, false},
      {"unknown collision type", 5, {}, 0.5f, 0.5f, false},
  };
  for (const Case& c : cases) {
    GUIEntity e(&kit.manager);
    e.SetWidth(10.0f);
    e.SetHeight(10.0f);
    e.SetCollisionType(c.type);
    for (const GUICollisionShape& s : c.shapes) e.AddCollisionShape(std::make_unique<GUICollisionShape>(s));
    e.SetHitPoint(c.hitX, c.hitY);
    EXPECT_EQ(e.TestCollisionShape(), c.inside) << c.name;
  }
  GUIEntity full(&kit.manager);
  for (int i = 0; i < kMaxCollisionShapes; ++i) {
    EXPECT_EQ(full.AddCollisionShape(std::make_unique<GUICollisionShape>()), i);
  }
  EXPECT_EQ(full.AddCollisionShape(std::make_unique<GUICollisionShape>()), kMaxCollisionShapes);
}

TEST(SegmentBoxTest, Faces) {
  struct Case {
    const char* name;
    float p0[3], p1[3];
    int32_t face;
    float hit[3];
  };
  const float box[3] = {10.0f, 10.0f, -2.0f};
  const Case cases[] = {
      {"through the front (z = 0)", {5, 5, 5}, {5, 5, -5}, GUIFACE_Z0, {5, 5, 0}},
      {"through the back", {5, 5, -5}, {5, 5, 5}, GUIFACE_ZB, {5, 5, -2}},
      {"from the left", {-5, 5, -1}, {5, 5, -1}, GUIFACE_X0, {0, 5, -1}},
      {"from the right", {15, 5, -1}, {5, 5, -1}, GUIFACE_XB, {10, 5, -1}},
      {"from below", {5, -5, -1}, {5, 5, -1}, GUIFACE_Y0, {5, 0, -1}},
      {"from above", {5, 15, -1}, {5, 5, -1}, GUIFACE_YB, {5, 10, -1}},
      {"both inside", {1, 1, -1}, {2, 2, -1}, GUIFACE_INSIDE, {1, 1, -1}},
      {"both beyond one face", {20, 5, 5}, {30, 5, -5}, GUIFACE_NONE, {0, 0, 0}},
      {"passes beside", {15, 5, 5}, {11, 5, -5}, GUIFACE_NONE, {0, 0, 0}},
  };
  for (const Case& c : cases) {
    float hit[3] = {0, 0, 0};
    EXPECT_EQ(SegmentBoxTest(c.p0, c.p1, box, hit), c.face) << c.name;
    for (int i = 0; i < 3; ++i) EXPECT_FLOAT_EQ(hit[i], c.hit[i]) << c.name << " " << i;
  }
}

TEST(GUIEntity, BothPickRaysPreferTheFrontChildAndPassNonSolidOnes) {
  Kit kit;
  auto* panel = kit.Make<GUIStatic>(GUIKIND_STATIC, "panel", nullptr, -5, 5, 0, 10, 10);
  auto* back = kit.Make<GUIStatic>(GUIKIND_STATIC, "back", panel, 0, 0, 0.1f, 10, 10);
  auto* front = kit.Make<GUIStatic>(GUIKIND_STATIC, "front", panel, 0, 0, 0.2f, 10, 10);
  const GUIRay ray{{0, 0, 10}, {0, 0, -10}};
  const GUIRay miss{{50, 50, 10}, {50, 50, -10}};
  struct Case {
    const char* name;
    GUIEntity* (*pick)(Kit&, const GUIRay&);
  };
  const Case picks[] = {
      {"PickEntity", [](Kit& k, const GUIRay& r) { return k.gui.PickEntity(k.world, r); }},
      {"PickRay", [](Kit& k, const GUIRay& r) { return k.world->PickRay(r); }},
  };
  for (const Case& p : picks) {
    SCOPED_TRACE(p.name);
    front->SetSolid(1);
    front->SetVisible(1);
    panel->SetEnabled(1);
    EXPECT_EQ(p.pick(kit, ray), front);
    EXPECT_FLOAT_EQ(front->GetHitPointX(), 0.5f);
    EXPECT_FLOAT_EQ(front->GetHitPointY(), 0.5f);
    front->SetSolid(0);
    EXPECT_EQ(p.pick(kit, ray), back);
    front->SetSolid(1);
    front->SetVisible(0);
    EXPECT_EQ(p.pick(kit, ray), back);
    panel->SetEnabled(0);  // hides the whole subtree
    EXPECT_EQ(p.pick(kit, ray), kit.world);
    EXPECT_EQ(p.pick(kit, miss), kit.world);
  }
}

}  // namespace
