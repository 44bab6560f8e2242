// The key names of the screens over every code, and the exit action's
// exit codes.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "engine/config/KeyNames.h"
#include "platform/window/Window.h"
#include "screens/ActionExitGame.h"
#include "screens/KeyCodeToName.h"

namespace {

TEST(KeyCodeToName, EveryCodeFrom0To511) {
  const std::map<uint32_t, std::string> named = {
      {1, "ESCAPE"},     {2, "1"},          {3, "2"},          {4, "3"},         {5, "4"},
      {6, "5"},          {7, "6"},          {8, "7"},          {9, "8"},         {10, "9"},
      {11, "0"},         {12, "MINUS"},     {13, "EQUALS"},    {16, "Q"},        {17, "W"},
      {18, "E"},         {19, "R"},         {20, "T"},         {21, "Y"},        {22, "U"},
      {23, "I"},         {24, "O"},         {25, "P"},         {26, "LBRACKET"}, {27, "RBRACKET"},
      {30, "A"},         {31, "S"},         {32, "D"},         {33, "F"},        {34, "G"},
      {35, "H"},         {36, "J"},         {37, "K"},         {38, "L"},        {39, "SEMICOLON"},
      {40, "APOSTROPHE"}, {43, "BACKSLASH"}, {44, "Z"},        {45, "X"},        {46, "C"},
      {47, "V"},         {48, "B"},         {49, "N"},         {50, "M"},        {51, "COMMA"},
      {52, "PERIOD"},    {53, "SLASH"},     {55, "MULTIPLY"},  {57, "SPACE"},    {74, "SUBTRACT"},
      {78, "ADD"},
  };
  for (uint32_t code = 0; code < 512; ++code) {
    const auto it = named.find(code & 0xFF);
    const std::string expected = it == named.end() ? "ERROR_UNKNOWN_KEY" : "VORN_KEY_" + it->second;
    EXPECT_EQ(KeyCodeToName(code), expected) << code;
  }
}

TEST(KeyCodeToName, AgreesWithTheEnginesKeyNames) {
  struct Case {
    const char* engineName;
    const char* screenName;
  };
  const Case cases[] = {
      {"ESC", "VORN_KEY_ESCAPE"},   {"q", "VORN_KEY_Q"},        {"0", "VORN_KEY_0"},
      {"*", "VORN_KEY_MULTIPLY"},   {"subtract", "VORN_KEY_SUBTRACT"}, {"+", "VORN_KEY_ADD"},
      {" ", "VORN_KEY_SPACE"},      {"uparrow", "ERROR_UNKNOWN_KEY"},  {"leftarrow", "ERROR_UNKNOWN_KEY"},
      {"RET", "ERROR_UNKNOWN_KEY"},
  };
  for (const Case& c : cases) EXPECT_EQ(KeyCodeToName(KeyNameToScanCode(c.engineName)), c.screenName) << c.engineName;
}

TEST(ExitGame, TheTextIsTheExitCode) {
  ASSERT_EQ(platform::InitWindowSystem(platform::WindowBackend::Headless), status::Ok);
  ActionExitGame exit(nullptr);
  EXPECT_EQ(exit.GetName(), "ExitGame");
  EXPECT_FALSE(exit.IsActive());
  struct Case {
    const char* text;
    int32_t code;
  };
  const Case cases[] = {
      {"", 0},           {"3", 3},          {"3|extra", 3},          {"  -7x", -7},  {"+12", 12},
      {"abc", 0},        {"99999999999999", 2147483647}, {"-99999999999999", -2147483647 - 1},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(exit.Execute(nullptr, 0, c.text), 0) << c.text;
    platform::MSG msg;
    ASSERT_TRUE(platform::PeekMessage(&msg, nullptr, 0, 0, platform::PM_REMOVE)) << c.text;
    EXPECT_EQ(msg.message, static_cast<uint32_t>(platform::WM_QUIT)) << c.text;
    EXPECT_EQ(static_cast<int32_t>(msg.wParam), c.code) << c.text;
  }
  platform::ShutdownWindowSystem();
}

}  // namespace
