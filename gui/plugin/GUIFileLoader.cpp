// Reading a GUI description file: the whole file is checked before any
// statement runs (size, binary bytes, quotes and comments that close,
// statement length, braces that nest), so a bad file creates nothing; then
// the parser runs its statements.
#include <cerrno>
#include <string>
#include <vector>

#include "gui/core/GUIScript.h"
#include "gui/plugin/GUI.h"
#include "gui/plugin/GUIFileLimits.h"
#include "platform/DebugOutput.h"
#include "platform/FileRead.h"

namespace {

// The texts of a failed open, by the cause the system reports.
const char* OpenFailureText(const platform::FileReadError& why, int error) {
  switch (why.kind) {
    case platform::FileReadError::kMissing:
      if (error == EACCES || error == EPERM) return "Access to the file was denied.";
      if (error == ENOTDIR || error == ENAMETOOLONG || error == EINVAL || error == ELOOP)
        return "The specified path is invalid.";
      if (error == EMFILE || error == ENFILE) return "There are too many open files.";
      return "The file could not be found.";
    case platform::FileReadError::kNotRegular: return "The specified path is invalid.";
    case platform::FileReadError::kReadError:
      if (error == EACCES || error == EPERM) return "Access to the file was denied.";
      if (error == EMFILE || error == ENFILE) return "There are too many open files.";
      if (error == EBUSY || error == ETXTBSY) return "There was a sharing violation.";
      if (error == EIO) return "There was a hardware error.";
      return "An unspecified error occurred.";
    default: return "An unspecified error occurred.";
  }
}

}  // namespace

std::string CheckGUIText(const std::string& text, GUIScriptTokens* tokens) {
  int32_t line = 1;
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte == '\n') ++line;
    // Text is printable characters and the usual white space; anything else
    // means the file is not a description file.
    if ((byte < 32 && byte != '\t' && byte != '\n' && byte != '\r' && byte != '\f' && byte != '\v') || byte == 127) {
      return "line " + std::to_string(line) + ": binary byte in the text";
    }
  }
  *tokens = TokeniseGUIText(text);
  if (tokens->unterminatedQuote) {
    return "line " + std::to_string(tokens->openedAtLine) + ": quoted text never closes";
  }
  if (tokens->unterminatedComment) {
    return "line " + std::to_string(tokens->openedAtLine) + ": comment never closes";
  }
  int depth = 0;
  size_t statementLength = 0;
  for (const GUIToken& token : tokens->tokens) {
    if (token.text == "{") ++depth;
    if (token.text == "}" && --depth < 0) return "line " + std::to_string(token.line) + ": \"}\" closes no block";
    if (token.text == ";" || token.text == "{" || token.text == "}") {
      statementLength = 0;
    } else if (++statementLength > kGUIMaxStatementTokens) {
      return "line " + std::to_string(token.line) + ": statement too long";
    }
  }
  if (depth != 0) {
    const int32_t last = tokens->tokens.empty() ? line : tokens->tokens.back().line;
    return "line " + std::to_string(last) + ": a block is never closed";
  }
  return std::string();
}

bool GUI::LoadGUIFile(const std::string& path) {
  std::string text;
  platform::FileReadError why;
  errno = 0;
  if (!platform::ReadFileText(path, kGUIMaxFileBytes, &text, &why)) {
    const int error = errno;
    if (why.kind == platform::FileReadError::kTooLarge) {
      platform::DebugPrintf("[GUI::LoadGUIFile] %s: larger than %llu bytes; refused\n", path.c_str(),
                            static_cast<unsigned long long>(kGUIMaxFileBytes));
    } else {
      platform::DebugPrintf("[GUI::LoadGUIFile] %s: %s\n", path.c_str(), OpenFailureText(why, error));
    }
    return false;
  }
  GUIScriptTokens tokens;
  const std::string fault = CheckGUIText(text, &tokens);
  if (!fault.empty()) {
    platform::DebugPrintf("[GUI::LoadGUIFile] %s: %s; nothing loaded\n", path.c_str(), fault.c_str());
    return false;
  }
  return parser_.ParseTokens(tokens.tokens, path);
}
