// The one-pass tokenizer against the rules spelled out stage by stage
// (CleanScript, then SplitStatements): same statements, same tokens, same
// verdict on every text.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/config/ConfigParser.h"
#include "engine/config/ScriptTokenizer.h"

namespace {

struct Reading {
  bool refused = false;  // ends open, or quotes never close
  int64_t tokens = 0;
  std::vector<std::string> statements;  // "tok|tok|tok", "!" in front when too long
};

std::string Joined(std::span<const std::string_view> tokens, bool tooLong) {
  std::string joined = tooLong ? "!" : "";
  for (size_t i = 0; i < tokens.size(); ++i) (joined += i ? "|" : "") += tokens[i];
  return joined;
}

Reading ByStages(std::string_view raw) {
  Reading r;
  std::string cleaned;
  if (!ConfigParser::CleanScript(raw, &cleaned)) {
    r.refused = true;
    return r;
  }
  r.tokens = ConfigParser::SplitStatements(cleaned, nullptr);
  if (r.tokens < 0) {
    r.refused = true;
    return r;
  }
  ConfigParser::SplitStatements(cleaned, [&](CStringArray& tokens, bool tooLong) {
    r.statements.push_back(Joined(std::vector<std::string_view>(tokens.begin(), tokens.end()), tooLong));
  });
  return r;
}

// Read batch by batch, `batchTokens` at most in each; the verdict is the
// one the tokenizer gives at the end, checked against the quick walk's.
Reading InOnePass(std::string_view raw, size_t limit, size_t batchTokens = ScriptTokenizer::kBatchTokens) {
  Reading r;
  ScriptTokenizer tokenizer;
  tokenizer.Start(raw, limit, batchTokens);
  while (tokenizer.ReadBatch()) {
    for (size_t s = 0; s < tokenizer.StatementCount(); ++s) {
      bool tooLong = false;
      const std::span<const std::string_view> tokens = tokenizer.Statement(s, &tooLong);
      r.statements.push_back(Joined(tokens, tooLong));
    }
  }
  EXPECT_TRUE(tokenizer.AtEnd());
  r.tokens = tokenizer.TokenCount();
  const ScriptTokenizer::Outline outline = tokenizer.GetOutline();
  const ScriptTokenizer::Outline quick = ScriptTokenizer::Check(raw);
  EXPECT_EQ(outline.endsOpen, quick.endsOpen) << raw;
  if (!quick.endsOpen) {
    EXPECT_EQ(outline.quotesOpen, quick.quotesOpen) << raw;
  }
  if (!quick.endsOpen && !quick.quotesOpen) {
    EXPECT_EQ(outline.hasTokens, quick.hasTokens) << raw;
  }
  r.refused = outline.endsOpen || outline.quotesOpen;
  return r;
}

// Every byte value but NUL and the quote mark (which would leave the rest
// unread) in runs long enough to cross the tokenizer's 64-byte blocks: bare,
// inside quotes, after an escaped quote mark and among escapes.
std::string EveryByteInLongRuns() {
  std::string text;
  for (int b = 1; b < 256; ++b) {
    if (b == '"') continue;
    const std::string run(40, 'x');
    const char c = static_cast<char>(b);
    text += run + c + run + " \"" + run + c + run + "\\\" " + run + c + run + "\\\" " + c + "\\t\"" + c + ";\r\n";
  }
  return text;
}

TEST(ScriptTokenizerTest, MatchesTheStagedRules) {
  struct Case {
    const char* name;
    std::string raw;
  };
  const Case cases[] = {
      {"plain settings", "settings App { setting a \"1\"; }\r\n"},
      {"white space of every kind", "a   b\t\tc\r\nd\ve\ff ;"},
      {"blanks kept inside quotes", "setting k \"a  b\";"},
      {"white space folded inside quotes", "setting k \"a\t\r\n b\tc\";"},
      {"escapes", "setting k \"a\\tb\\nc\\\\d\\qe\";"},
      {"escaped quote marks switch the split", "setting k \"a \\\"b c\\\" d\";"},
      {"escaped quote then separators", "setting k \"x \\\" y;z\";"},
      {"no escapes outside quotes", "setting a\\tb c;"},
      {"line comment glues tokens", "ab//comment\ncd;"},
      {"block comment glues tokens", "ab/* c */cd ;"},
      {"comment markers inside quotes", "setting k \"//kept\" \"/*kept*/\";"},
      {"slash alone", "a/b / c;"},
      {"empty quoted tokens", "a \"\" b;\"\";"},
      {"quoted and bare parts join", "a \"b c\"d e\"f\"g;"},
      {"separators", "a;;b{c}d } e { f"},
      {"quoted separators are data", "setting k \";\"; bind \"x\" \"}\"; \"{\" x;"},
      {"braces only standing alone", "x} {y a{ }b"},
      {"leading and trailing blanks", "   lead and trail  \r\n"},
      {"only a comment", "// nothing here"},
      {"only white space", " \t\r\n "},
      {"empty", ""},
      {"ends in a line comment", "a b; // open"},
      {"ends inside quotes", "setting a \"open"},
      {"ends inside a block comment", "setting a; /* open"},
      {"quotes never close in the split", "setting a \"x\\\"y\";"},
      {"escape at the very end", "setting a \"x\\"},
      {"control characters inside quotes after a blank", "\"a \t\tb\" \" \t\""},
      {"white space after an escaped quote", "\"a\\\" \t b\" c"},
      {"comment after an escaped quote", "\"a\\\" b // c\n d\" e;"},
      {"many statements", "a 1; b 2; c 3; d 4; e 5; f 6; g 7; h 8; i 9; j 10;"},
      {"every byte in long runs", EveryByteInLongRuns()},
      {"words and standing braces across blocks", [] {
         std::string text;
         for (int i = 0; i < 30; ++i) text += "ab { c }\td\r\n  e" + std::to_string(i) + " ";
         return text + "z;";
       }()},
      {"long escaped values", std::string(100, ' ') + "setting k \"" + std::string(70, 'v') +
                                  "\\\"a b;c\\\\d\\\" e\\tf " + std::string(70, 'w') + "\"; x}"},
  };
  for (const Case& c : cases) {
    const Reading staged = ByStages(c.raw);
    const Reading onePass = InOnePass(c.raw, ConfigParser::kMaxStatementTokens);
    EXPECT_EQ(onePass.refused, staged.refused) << c.name;
    if (staged.refused || onePass.refused) continue;
    EXPECT_EQ(onePass.tokens, staged.tokens) << c.name;
    EXPECT_EQ(onePass.statements, staged.statements) << c.name;
    // A statement is never split between batches, however small they are.
    const Reading batched = InOnePass(c.raw, ConfigParser::kMaxStatementTokens, 2);
    EXPECT_EQ(batched.tokens, staged.tokens) << c.name;
    EXPECT_EQ(batched.statements, staged.statements) << c.name;
  }
}

TEST(ScriptTokenizerTest, StatementsOverTheLimitKeepTheirFirstTokensAndTheirBrace) {
  struct Case {
    const char* name;
    std::string raw;
    std::vector<std::string> statements;
  };
  const Case cases[] = {
      {"ended by a semicolon", "a b c d e f; x y;", {"!a|b|c|d", "x|y"}},
      {"ended by a brace", "a b c d e f }", {"!a|b|c|d|}"}},
      {"exactly the limit", "a b c d; e", {"a|b|c|d", "e"}},
  };
  for (const Case& c : cases) EXPECT_EQ(InOnePass(c.raw, 4).statements, c.statements) << c.name;
}

TEST(ScriptTokenizerTest, TokensAreViewsIntoTheTextUnlessSpelledOut) {
  const std::string raw = "setting Name \"plain value\"; setting k \"a\\tb\";";
  std::vector<std::string_view> seen;
  ScriptTokenizer tokenizer;
  tokenizer.Scan(raw, 16, [&](std::span<const std::string_view> tokens, bool) {
    ASSERT_EQ(tokens.size(), 3u);
    seen.push_back(tokens[2]);
    // A plain value points into the text itself.
    if (seen.size() == 1) {
      EXPECT_GE(tokens[2].data(), raw.data());
      EXPECT_LT(tokens[2].data(), raw.data() + raw.size());
    }
    EXPECT_EQ(tokens[2], seen.size() == 1 ? std::string_view("plain value") : std::string_view("a\tb"));
  });
  EXPECT_EQ(seen.size(), 2u);
}

}  // namespace
