#include <gtest/gtest.h>

#include <string>

#include "engine/config/GMConfigManager.h"
#include "engine/config/tests/ConfigTestFixture.h"
#include "platform/DebugOutput.h"

namespace {

CoreStatus Forward(KeyboardPacket*) { return 1; }
CoreStatus Backward(KeyboardPacket*) { return 2; }
CoreStatus Left(KeyboardPacket*) { return 3; }

// A manager with the bindable commands a program would create.
class TestConfig : public cGM_ConfigManager {
 public:
  TestConfig() {
    AddBinding(&Forward, "camera_forward", "Move camera forward");
    AddBinding(&Backward, "camera_backward", "Move camera backward");
    AddBinding(&Left, "camera_left", "Move camera left");
  }
};

using cfgtest::Written;

class GMConfigManagerTest : public cfgtest::ConfigFixture<TestConfig> {};

TEST_F(GMConfigManagerTest, KeySpecs) {
  struct Case {
    const char* spec;
    uint32_t code;
    uint32_t modifiers;
    bool result;
  };
  const Case cases[] = {
      {"W", 17, 0x00, true},
      {"w", 17, 0x00, true},
      {"ctrl-W", 17, 0x03, true},
      {"lctrl-lalt-Q", 16, 0x22, true},
      {"RCTRL-RALT-uparrow", 200, 0x11, true},
      {"shift-A", 30, 0x00, false},       // no Shift names: refused, the key still counts
      {"shift-alt-A", 30, 0x30, false},   // the known modifiers still count
      {"F13", 0, 0x00, true},             // an unknown key name binds to nothing
      {"ctrl-", 0, 0x03, true},
      {"ctrl--", 0, 0x03, true},
      {"ctrl--alt-W", 17, 0x33, true},    // an empty piece between dashes is passed over
      {"-ESC", 1, 0x00, true},
      {"minus", 12, 0x00, true},
      {"alt- ", 57, 0x30, true},
      {"", 0, 0x00, true},
  };
  for (const Case& c : cases) {
    TestConfig config;
    EXPECT_EQ(config.Bind("camera_forward", c.spec), c.result) << c.spec;
    const KeyBinding* binding = config.FindBindingByCommand("camera_forward");
    ASSERT_NE(binding, nullptr);
    EXPECT_EQ(binding->scanCode, c.code) << c.spec;
    EXPECT_EQ(binding->modifiers, c.modifiers) << c.spec;
    EXPECT_EQ(binding->released, 0u);
    EXPECT_EQ(binding->timeStamp, 0u);
    EXPECT_EQ(binding->keySpec, c.spec);
  }
}

TEST_F(GMConfigManagerTest, RebindingReplacesTheKeyButAddsModifiers) {
  ASSERT_TRUE(config_.Bind("camera_forward", "ctrl-W"));
  ASSERT_TRUE(config_.Bind("camera_forward", "lalt-S"));
  const KeyBinding* binding = config_.FindBindingByCommand("camera_forward");
  EXPECT_EQ(binding->scanCode, 31u);
  EXPECT_EQ(binding->modifiers, 0x23u);
  EXPECT_EQ(binding->keySpec, "lalt-S");
}

TEST_F(GMConfigManagerTest, UnknownCommandChangesNothing) {
  const std::string before = Written(config_);
  EXPECT_FALSE(config_.Bind("camera_up", "W"));
  EXPECT_EQ(Written(config_), before);
  for (size_t i = 0; i < config_.GetBindingCount(); ++i) EXPECT_EQ(config_.GetBinding(i)->scanCode, 0u);
}

TEST_F(GMConfigManagerTest, Lookups) {
  EXPECT_EQ(config_.FindBindingByCommand("CAMERA_FORWARD"), config_.GetBinding(0));
  EXPECT_EQ(config_.FindBindingByName("move camera LEFT"), config_.GetBinding(2));
  EXPECT_EQ(config_.FindBindingByHandler(&Backward), config_.GetBinding(1));
  EXPECT_EQ(config_.FindBindingByCommand("camera"), nullptr);
  EXPECT_EQ(config_.FindBindingByName("Move camera"), nullptr);
  EXPECT_EQ(config_.FindBindingByHandler(nullptr), nullptr);
  EXPECT_EQ(config_.GetBinding(3), nullptr);
}

TEST_F(GMConfigManagerTest, ClearKeyUnbindsTheFirstMatch) {
  ASSERT_TRUE(config_.Bind("camera_forward", "ctrl-W"));
  ASSERT_TRUE(config_.Bind("camera_backward", "ctrl-W"));
  config_.ClearKey(17, 0, 1234, 0x01);  // modifiers differ: nothing
  EXPECT_EQ(config_.GetBinding(0)->scanCode, 17u);
  config_.ClearKey(17, 1, 1234, 0x03);  // a release: nothing
  EXPECT_EQ(config_.GetBinding(0)->scanCode, 17u);
  config_.ClearKey(17, 0, 1234, 0x03);
  EXPECT_EQ(config_.GetBinding(0)->scanCode, 0u);
  EXPECT_EQ(config_.GetBinding(0)->modifiers, 0u);
  EXPECT_EQ(config_.GetBinding(1)->scanCode, 17u);
  // The cleared binding stays in the list and is not written back.
  EXPECT_EQ(config_.GetBindingCount(), 3u);
  const std::string text = Written(config_);
  EXPECT_EQ(text.find("camera_forward"), std::string::npos);
  EXPECT_NE(text.find("\tbind\t\"camera_backward\"\t\"ctrl-W\";\r\n"), std::string::npos);
}

TEST_F(GMConfigManagerTest, ListBindingsInListOrder) {
  ASSERT_TRUE(config_.Bind("camera_left", "leftarrow"));
  std::vector<std::string> commands{"pre"}, names, specs;
  config_.ListBindings(commands, names, specs);
  EXPECT_EQ(commands, (std::vector<std::string>{"pre", "camera_forward", "camera_backward", "camera_left"}));
  EXPECT_EQ(names, (std::vector<std::string>{"Move camera forward", "Move camera backward", "Move camera left"}));
  EXPECT_EQ(specs, (std::vector<std::string>{"", "", "leftarrow"}));
  config_.ClearBindings();
  EXPECT_EQ(config_.GetBindingCount(), 0u);
  EXPECT_EQ(config_.FindBindingByCommand("camera_left"), nullptr);
}

TEST_F(GMConfigManagerTest, WriterAppendsBoundKeysOnly) {
  config_.SetValue("App", "MinVersion", "1");
  ASSERT_TRUE(config_.Bind("camera_left", "nosuchkey"));
  ASSERT_TRUE(config_.Bind("camera_forward", "W"));
  EXPECT_EQ(Written(config_),
            "settings App;\r\n"
            "\tsetting\tminversion\t\t\t\"1\";\r\n"
            "\r\n"
            "\tbind\t\"camera_forward\"\t\"W\";\r\n"
            "\tbind\t\"camera_left\"\t\"nosuchkey\";\r\n");
}

TEST_F(GMConfigManagerTest, KeyBindingsRoundTrip) {
  const std::string file = dir_.Write("KV9.cfg",
                                      "settings Graphics; setting fullscreen \"1\";\r\n"
                                      "bind \"camera_forward\" \"ctrl-W\";\r\n"
                                      "BIND \"Camera_Left\" \"\\\\\";\r\n"   // the backslash key
                                      "bind \"camera_backward\" \";\";\r\n"  // the semicolon key
                                      "bind \"camera_nothing\" \"Q\";\r\n");
  ASSERT_EQ(config_.LoadConfig(file), status::Ok);
  EXPECT_EQ(config_.GetBinding(0)->scanCode, 17u);
  EXPECT_EQ(config_.GetBinding(0)->modifiers, 3u);
  EXPECT_EQ(config_.GetBinding(1)->scanCode, 39u);
  EXPECT_EQ(config_.GetBinding(2)->scanCode, 43u);
  EXPECT_EQ(config_.GetBinding(2)->keySpec, "\\");

  const std::string once = Written(config_);
  const std::string copy = dir_.Write("copy.cfg", once);
  TestConfig second;
  ASSERT_EQ(second.LoadConfig(copy), status::Ok);
  for (size_t i = 0; i < config_.GetBindingCount(); ++i) {
    const KeyBinding* a = config_.GetBinding(i);
    const KeyBinding* b = second.GetBinding(i);
    EXPECT_EQ(a->scanCode, b->scanCode) << a->command;
    EXPECT_EQ(a->modifiers, b->modifiers) << a->command;
    EXPECT_EQ(a->keySpec, b->keySpec) << a->command;
  }
  EXPECT_EQ(second.GetStore().Entries(), config_.GetStore().Entries());
  EXPECT_EQ(Written(second), once);
}

}  // namespace
