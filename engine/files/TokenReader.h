#pragma once
// The shared text tokenizer of the older object file and of the token-stream
// tables (airlines, particle factories). The text is cleaned first: "//" and
// "/* */" comments are removed outside quoted strings, every run of blank
// characters becomes one blank, and backslash escapes inside quoted strings
// become their characters. The cleaned text is then split at blanks; ";" is a
// token of its own, and a double-quoted stretch keeps blanks and ";" inside
// one token (the quotes themselves are not copied).
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

// The largest file tokenized (the tables are hand-written text).
constexpr uint64_t kMaxTokenFileBytes = uint64_t{64} << 20;

// Reads the rest of an open file and replaces `tokens` with its tokens.
// False (and no tokens) when the file is null, not a regular file, larger
// than kMaxTokenFileBytes or cannot be read.
bool ReadFileLines(FILE* file, std::vector<std::string>* tokens);

// Opens `name` through the path resolver and tokenizes it as above.
// False (and no tokens) when the file cannot be read, as above.
bool ReadFileTokens(const std::string& name, std::vector<std::string>* tokens, const std::string& base = "");

// Tokenizes text already in memory. CR LF and lone LF both end a line.
void ReadTextTokens(std::string_view text, std::vector<std::string>* tokens);

// The two steps on their own, for tests and for readers that need them.
std::string CleanTokenText(std::string_view text);
std::vector<std::string> SplitCleanTokens(std::string_view cleaned);
