#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "engine/files/TokenReader.h"

namespace {

using Tokens = std::vector<std::string>;

Tokens Read(const std::string& text) {
  Tokens tokens{"stale"};
  ReadTextTokens(text, &tokens);
  return tokens;
}

TEST(TokenReader, SplitsAtBlanksWithSemicolonAsItsOwnToken) {
  struct Case {
    const char* text;
    Tokens tokens;
  };
  const Case cases[] = {
      {"a \"b;c\";d", {"a", "b;c", ";", "d"}},
      {"one  two\t\tthree\r\nfour", {"one", "two", "three", "four"}},
      {"x;y", {"x", ";", "y"}},
      // A list ended by ";" gets a final empty token; so does empty text.
      {"a b ;", {"a", "b", ";", ""}},
      {"", {""}},
      {"   \n\t  ", {""}},
      {"\"two words\" three", {"two words", "three"}},
      {"\"\" x", {"x"}},  // an empty quoted stretch makes no token
  };
  for (const Case& c : cases) EXPECT_EQ(Read(c.text), c.tokens) << c.text;
}

TEST(TokenReader, RemovesCommentsOutsideQuotesOnly) {
  EXPECT_EQ(Read("a /* one\ntwo\nthree */ b // tail\nc"), (Tokens{"a", "b", "c"}));
  EXPECT_EQ(Read("\"http://x /* y */\" z"), (Tokens{"http://x /* y */", "z"}));
  EXPECT_EQ(Read("a/*x*/b"), (Tokens{"ab"}));
  EXPECT_EQ(Read("a /* never closed\nb c"), (Tokens{"a"}));
  EXPECT_EQ(Read("// only a comment"), (Tokens{""}));
}

TEST(TokenReader, TurnsEscapesInsideQuotesIntoCharacters) {
  EXPECT_EQ(CleanTokenText("\"a\\nb\\tc\\\\d\\qe\""), "\"a\nb\tc\\d\\qe\"");
  EXPECT_EQ(CleanTokenText("\"x\\\" y\" z"), "\"x\" y\" z");
  // Outside quotes a backslash is an ordinary character.
  EXPECT_EQ(CleanTokenText("a\\nb"), "a\\nb");
  // Blank runs collapse inside quotes too.
  EXPECT_EQ(Read("\"a    b\""), (Tokens{"a b"}));
}

TEST(TokenReader, ReadsAnOpenFileWithEitherLineEnd) {
  for (const char* text : {"a b\r\nc;\r\n", "a b\nc;\n"}) {
    FILE* f = std::tmpfile();
    ASSERT_NE(f, nullptr);
    std::fputs(text, f);
    std::rewind(f);
    Tokens tokens{"stale"};
    EXPECT_TRUE(ReadFileLines(f, &tokens));
    std::fclose(f);
    EXPECT_EQ(tokens, (Tokens{"a", "b", "c", ";", ""}));
  }
  Tokens tokens{"stale"};
  EXPECT_FALSE(ReadFileLines(nullptr, &tokens));
  EXPECT_TRUE(tokens.empty());
  EXPECT_FALSE(ReadFileTokens("no such file.txt", &tokens));
  EXPECT_TRUE(tokens.empty());
}

TEST(TokenReader, BadInputNeverCrashes) {
  const std::string cases[] = {
      "\"unterminated quote ; with \\",
      "\\",
      "\"\\",
      "/*",
      "/",
      "*/ ;;;",
      std::string("\0\0\x01\xff\"\0;", 8),
      std::string(100000, '"'),
      std::string(100000, ';'),
  };
  for (const std::string& text : cases) {
    const Tokens tokens = Read(text);
    size_t chars = 0;
    for (const std::string& t : tokens) chars += t.size();
    EXPECT_LE(chars, text.size());
  }
  // 100,000 semicolons: one token each, then the final empty one.
  EXPECT_EQ(Read(std::string(100000, ';')).size(), 100001u);
  EXPECT_TRUE(Read(std::string(100000, '"')).empty());
  EXPECT_EQ(Read("\"unterminated ; quote"), (Tokens{"unterminated ; quote"}));
}

}  // namespace
