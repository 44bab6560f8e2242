#pragma once
// What the description-file reader accepts.
#include <cstddef>
#include <cstdint>
#include <string>

struct GUIScriptTokens;

// A description file larger than this is refused unread.
inline constexpr uint64_t kGUIMaxFileBytes = 4u << 20;
// Tokens in one statement, keyword included ("data" lines are tokens).
inline constexpr size_t kGUIMaxStatementTokens = 4096;

// Checks a description file's text and tokenises it. Empty when the file
// may run; otherwise why not, starting with the line ("line 7: ...").
std::string CheckGUIText(const std::string& text, GUIScriptTokens* tokens);
