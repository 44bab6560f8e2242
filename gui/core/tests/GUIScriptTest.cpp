// The description-file tokeniser, hexadecimal bytes and fitting text.
#include <gtest/gtest.h>

#include "engine/services/tests/FakeCore3D.h"
#include "gui/core/GUIScript.h"

namespace {

std::vector<std::string> Texts(const GUIScriptTokens& t) {
  std::vector<std::string> texts;
  for (const GUIToken& token : t.tokens) texts.push_back(token.text);
  return texts;
}

TEST(TokeniseGUIText, Tokens) {
  struct Case {
    const char* name;
    const char* text;
    std::vector<std::string> tokens;  // the final empty token included
  };
  const Case cases[] = {
      {"empty file", "", {""}},
      {"statement", "button btnOk {\n  position 1 2 3;\n}\n", {"button", "btnOk", "{", "position", "1", "2", "3", ";", "}", ""}},
      {"semicolon in quotes", "text \"a;b\";", {"text", "a;b", ";", ""}},
      {"line comment right after a word", "word// c\nnext", {"word", "next", ""}},
      {"block comment between words", "a/*c*/b", {"a", "b", ""}},
      {"quoted spaces kept", "caption \"two  spaces \"", {"caption", "two  spaces ", ""}},
      {"tabs and line breaks", "a\t\t\r\n\n b", {"a", "b", ""}},
      {"escaped quote stays in the token", "t \"say \\\"hi\\\"\"", {"t", "say \"hi\"", ""}},
      {"escapes", "t \"a\\tb\\\\c\\q\"", {"t", "a\tb\\c\\q", ""}},
      {"line break inside quotes is a space", "t \"a\nb\"", {"t", "a b", ""}},
      {"braces only as words", "a{ }b", {"a{", "}b", ""}},
      {"comment markers inside quotes", "t \"//x /*y*/\"", {"t", "//x /*y*/", ""}},
  };
  for (const Case& c : cases) {
    const GUIScriptTokens t = TokeniseGUIText(c.text);
    EXPECT_EQ(Texts(t), c.tokens) << c.name;
    EXPECT_FALSE(t.unterminatedQuote || t.unterminatedComment) << c.name;
  }
}

TEST(TokeniseGUIText, TokensKeepTheirLinesAndOpenEndsAreReported) {
  const GUIScriptTokens t = TokeniseGUIText("a\n/* two\nlines */ b\n\"c\nd\" e");
  ASSERT_EQ(Texts(t), (std::vector<std::string>{"a", "b", "c d", "e", ""}));
  EXPECT_EQ(t.tokens[0].line, 1);
  EXPECT_EQ(t.tokens[1].line, 3);
  EXPECT_EQ(t.tokens[2].line, 4);
  EXPECT_EQ(t.tokens[3].line, 5);

  struct Case {
    const char* text;
    bool quote, comment;
    int32_t line;
  };
  const Case open[] = {{"a\n\"never closed", true, false, 2}, {"a\nb /* never closed", false, true, 2}};
  for (const Case& c : open) {
    const GUIScriptTokens r = TokeniseGUIText(c.text);
    EXPECT_EQ(r.unterminatedQuote, c.quote) << c.text;
    EXPECT_EQ(r.unterminatedComment, c.comment) << c.text;
    EXPECT_EQ(r.openedAtLine, c.line) << c.text;
  }
}

TEST(ParseHexBytes, PairsOfDigits) {
  struct Case {
    const char* text;
    std::vector<uint8_t> bytes;
  };
  const Case cases[] = {
      {"00ff7F10", {0x00, 0xFF, 0x7F, 0x10}},
      {"a", {0x0A, 0, 0}},
      {"zz1g", {0, 1}},
      {"", {0}},
  };
  for (const Case& c : cases) {
    std::vector<uint8_t> out(c.bytes.size(), 0xEE);
    ParseHexBytes(out.data(), static_cast<int32_t>(out.size()), c.text);
    EXPECT_EQ(out, c.bytes) << c.text;
  }
}

TEST(FitTextToWidth, CutsOnlyWordsWiderThanTheWidth) {
  fake3d::FakeCore3D renderer;
  fake3d::FakeFont font(&renderer, 0, "f");  // 10 per character
  struct Case {
    const char* name;
    const char* text;
    float scale, width;
    const char* fitted;
  };
  const Case cases[] = {
      {"fits", "abc", 1.0f, 30.0f, "abc"},
      {"first character too wide", "abc", 1.0f, 10.0f, ""},
      {"scale counts", "abc", 0.5f, 15.0f, "abc"},
      {"long word cut", "abcdef", 1.0f, 35.0f, "abc"},
      {"short words come back whole", "ab cd ef gh", 1.0f, 35.0f, "ab cd ef gh"},
      {"the running width restarts with the space", "ab cdefgh", 1.0f, 35.0f, "ab cd"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FitTextToWidth(c.text, &font, c.scale, c.width), c.fitted) << c.name;
  }
  EXPECT_EQ(FitTextToWidth("abcdef", nullptr, 1.0f, 1.0f), "abcdef");
}

}  // namespace
