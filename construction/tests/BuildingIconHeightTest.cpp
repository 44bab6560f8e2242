// The status icon's height of a building type on the real renderer's
// models: a definition that gives "icon_height" keeps it; without the key
// the model's bounds give it, for a model file and for a polymesh alike.
#include <gtest/gtest.h>

#include <string>

#include "construction/BuildableObject.h"
#include "construction/tests/TestBuildingManager.h"
#include "engine/entity/EntityManager.h"
#include "engine/services/C3DModel.h"
#include "engine/services/GlobalWrapper.h"
#include "renderer/tests/RendererTestUtil.h"

namespace {

class BuildingIconHeight : public rtest::RecordRenderer {
 protected:
  void SetUp() override {
    RecordRenderer::SetUp();
    renderer.SetResourcePath(GAME_DATA_DIR);
    entities.SetResourcePath(GAME_DATA_DIR);
    table.graphics = &renderer;
    manager.SetTable(&table);
  }

  cBuildableObject* Type(const std::string& name) {
    for (uint16_t id = 0; id < manager.GetTypeIdCount(kClass_Building); ++id) {
      const std::string* typeName = manager.GetTypeName(kClass_Building, id);
      if (typeName && *typeName == name) return manager.GetBuildingType(kClass_Building, id, 1);
    }
    return nullptr;
  }

  cEntity_Manager entities{nullptr};
  cKV9_GlobalWrapper table;
  buildtest::TestBuildingManager manager{&entities};
};

TEST_F(BuildingIconHeight, TheDefinitionsKeyOrElseTheModelsBounds) {
  struct Case {
    const char* name;
    const char* model;
    const char* key;     // the icon_height line, or empty
    float keyed;         // the height the key gives
  } cases[] = {
      {"ModelFile", "Models\\Buildings\\tower.ssm", "", 0.0f},
      {"ModelFileKeyed", "Models\\Buildings\\tower.ssm", "icon_height = 7\n", 7.0f},
      // A model name that is no model file makes the renderer's flat polymesh.
      {"Polymesh", "Models\\Buildings\\glass.jsm", "", 0.0f},
      {"PolymeshKeyed", "Models\\Buildings\\glass.jsm", "icon_height = 3\n", 3.0f},
  };
  std::string text;
  for (const Case& c : cases) {
    text += std::string("[") + c.name + "]\nclass = building\nname = " + c.name + "\nmodel = " + c.model + "\n" + c.key;
  }
  ASSERT_TRUE(manager.LoadBaseBuildingsFromMemory(text));
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    cBuildableObject* type = Type(c.name);
    ASSERT_NE(type, nullptr);
    C3DModel* model = type->GetModelObject();
    ASSERT_NE(model, nullptr);
    if (*c.key) {
      EXPECT_EQ(type->GetIconHeight(), c.keyed);
      continue;
    }
    float lo[3] = {0, 0, 0}, hi[3] = {0, 0, 0};
    model->GetBounds(lo, hi, nullptr);
    EXPECT_GT(hi[1] - lo[1], 0.0f) << "the model stands some height";
    EXPECT_FLOAT_EQ(type->GetIconHeight(), (hi[1] - lo[1]) * 0.05f);
  }
}

}  // namespace
