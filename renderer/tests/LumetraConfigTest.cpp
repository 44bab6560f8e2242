// "gfx_dx8.cfg" read into the settings map and the metrics settings applied.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "platform/Paths.h"
#include "platform/tests/ScratchDir.h"
#include "renderer/Lumetra.h"

namespace {

class LumetraConfigTest : public ::testing::Test {
 protected:
  void SetUp() override { renderer.SetResourcePath(dir.File("")); }
  void Write(const std::string& name, const std::string& text) { dir.Write(name, text); }
  CoreBaseConfigMap& Map() {
    CoreBaseConfigMap* map = nullptr;
    renderer.GetConfig(&map);
    return *map;
  }

  ScratchDir dir;
  Lumetra renderer;
};

TEST_F(LumetraConfigTest, EachNamedChildBecomesOneSettingALaterOneReplacing) {
  Write("GFX_DX8.CFG",
        "OBJECT metrics\r\n{\r\n  set name \"gfx_metrics\"\r\n  set value \"1\"\r\n  set default \"0\"\r\n"
        "  set type \"bool\"\r\n  set description \"Show metrics\"\r\n  set min_range \"0\"\r\n"
        "  set max_range \"1\"\r\n}\r\n"
        "OBJECT nameless\r\n{\r\n  set value \"5\"\r\n}\r\n"
        "OBJECT placement\n{\n  set name \"gfx_metric_placement\"\n  set value \"3\"\n}\n"
        "OBJECT again\n{\n  set name \"gfx_metric_placement\"\n  set value \"258\"\n}\n"
        "OBJECT fps\n{\n  set name \"gfx_metric_fps\"\n  set value \"0\"\n}\n"
        "OBJECT other\n{\n  set name \"gfx_texture_detail\"\n  set value \"high\"\n}\n");
  renderer.LoadConfig();
  ASSERT_EQ(renderer.GetConfig(nullptr), 4u);
  const CoreBaseConfig& metrics = *Map().at("gfx_metrics");
  EXPECT_EQ(metrics.value, "1");
  EXPECT_EQ(metrics.defaultValue, "0");
  EXPECT_EQ(metrics.type, "bool");
  EXPECT_EQ(metrics.description, "Show metrics");
  EXPECT_EQ(metrics.min_range, "0");
  EXPECT_EQ(metrics.max_range, "1");
  EXPECT_EQ(Map().at("gfx_metric_placement")->value, "258");
  EXPECT_TRUE(Map().at("gfx_metric_fps")->type.empty());

  EXPECT_TRUE(renderer.ApplyConfig());
  EXPECT_TRUE(renderer.GetMetricFlag(0));
  EXPECT_FALSE(renderer.GetMetricFlag(1));
  EXPECT_FALSE(renderer.GetMetricFlag(2));
  EXPECT_EQ(renderer.GetMetricPlacement(), 2);  // 258 cut to one byte
  EXPECT_FALSE(renderer.ToggleMetrics());
  EXPECT_TRUE(renderer.ToggleMetrics());

  renderer.ClearConfig();
  EXPECT_EQ(renderer.GetConfig(nullptr), 0u);
}

TEST_F(LumetraConfigTest, AMissingOrEmptyFileLeavesTheMapAsItWas) {
  Map().emplace("gfx_metric_vert", new CoreBaseConfig{"gfx_metric_vert", "yes", "", "", "", "", ""});
  const struct {
    const char* name;
    const char* text;  // null: no file
  } cases[] = {
      {"no file", nullptr},
      {"no objects", "// nothing here\r\nset stray 1\r\n"},
      {"binary junk", "\x01\x02OBJECT\xff{{{\n}}}}\n\x00zz"},
      {"unclosed object", "OBJECT open\n{\nset name \"gfx_metrics\"\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::filesystem::remove(dir.File("gfx_dx8.cfg"));
    if (c.text) Write("gfx_dx8.cfg", c.text);
    platform::ClearPathCache();
    renderer.LoadConfig();
    ASSERT_EQ(renderer.GetConfig(nullptr), 1u);
    EXPECT_EQ(Map().at("gfx_metric_vert")->value, "yes");
  }
  renderer.ApplyConfig();
  EXPECT_TRUE(renderer.GetMetricFlag(3));
  EXPECT_FALSE(renderer.GetMetricFlag(0));
  EXPECT_EQ(renderer.GetMetricPlacement(), 0);
}

}  // namespace
