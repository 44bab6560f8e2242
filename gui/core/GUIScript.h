#pragma once
// Text routines of the GUI: the description-file tokeniser, hexadecimal
// byte strings and fitting a line of text into a width.
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

class C3DFont;

struct GUIToken {
  std::string text;
  int32_t line = 0;  // 1-based line where the token starts
  bool operator==(const GUIToken&) const = default;
};

struct GUIScriptTokens {
  std::vector<GUIToken> tokens;  // always ends with one empty token
  // The text ended inside a quoted text or a block comment; the line where
  // it opened. A loader refuses such a file.
  bool unterminatedQuote = false;
  bool unterminatedComment = false;
  int32_t openedAtLine = 0;
};

// Splits description-file text into tokens.
GUIScriptTokens TokeniseGUIText(std::string_view text);
// Reads the rest of an open file and tokenises it; the file is closed.
GUIScriptTokens TokeniseGUIScript(FILE* file);

// Byte i from the two characters at 2i, read as hexadecimal; pairs past the
// end of the text read as 0.
void ParseHexBytes(uint8_t* destination, int32_t count, std::string_view text);

// The text, or its beginning, no wider than `width` (measured times scale).
std::string FitTextToWidth(const std::string& text, C3DFont* font, float scale, float width);
