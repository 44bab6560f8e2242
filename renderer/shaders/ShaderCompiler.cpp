#include "renderer/shaders/ShaderCompiler.h"

#include <new>
#include <vector>

#include "engine/files/TokenReader.h"
#include "engine/services/C3DResource.h"
#include "platform/DebugOutput.h"
#include "platform/FileRead.h"
#include "renderer/Lumetra.h"
#include "renderer/shaders/DX8MaterialShader.h"
#include "renderer/shaders/DX8VertexShader.h"

const ShaderWordTable& ExpressionWords() {
  static const ShaderWordTable table = [] {
    ShaderWordTable t;
    AddExpressionWords(&t);
    return t;
  }();
  return table;
}

const ShaderWordTable& MaterialWords() {
  static const ShaderWordTable table = [] {
    ShaderWordTable t;
    AddExpressionWords(&t);
    AddMaterialWords(&t);
    return t;
  }();
  return table;
}

const ShaderWordTable& VertexWords() {
  static const ShaderWordTable table = [] {
    ShaderWordTable t;
    AddExpressionWords(&t);
    AddVertexWords(&t);
    return t;
  }();
  return table;
}

namespace {

// Shader scripts are short text files; anything larger is refused unread.
constexpr uint64_t kMaxShaderScriptBytes = 4u << 20;

DX8BaseShader* MakeShader(Lumetra* renderer, uint32_t flags, const std::string& name) {
  if (flags & RF_VERTEX) return new (std::nothrow) DX8VertexShader(renderer, flags, name);
  return new (std::nothrow) DX8MaterialShader(renderer, flags, name);
}

void CompileTokens(Lumetra* renderer, DX8BaseShader* shader, const std::vector<std::string>& tokens) {
  const ShaderWordTable& words = (shader->GetFlags() & RF_VERTEX) ? VertexWords() : MaterialWords();
  size_t start = 0;
  while (start < tokens.size()) {
    size_t end = start;
    while (end < tokens.size() && tokens[end] != ";") ++end;
    if (end > start) {
      const auto found = words.find(tokens[start]);
      if (found != words.end()) found->second(renderer, shader, ShaderTokens(tokens.data() + start, end - start));
    }
    start = end + 1;
  }
}

}  // namespace

DX8BaseShader* CompileShaderText(Lumetra* renderer, uint32_t flags, const std::string& name,
                                 std::string_view text) {
  if (!renderer) return nullptr;
  DX8BaseShader* shader = MakeShader(renderer, flags, name);
  if (!shader) return nullptr;
  std::vector<std::string> tokens;
  ReadTextTokens(text, &tokens);
  CompileTokens(renderer, shader, tokens);
  renderer->AddShader(shader);
  return shader;
}

DX8BaseShader* CompileShader(Lumetra* renderer, uint32_t flags, const std::string& fileName) {
  if (!renderer) return nullptr;
  if (flags & RF_EMPTY) return MakeShader(renderer, flags, fileName);
  std::string text;
  platform::FileReadError why;
  if (!platform::ReadFileText(fileName, kMaxShaderScriptBytes, &text, &why)) {
    platform::DebugPrintf("[CompileShader] \"%s\" %s\n", fileName.c_str(), why.text.c_str());
    return nullptr;
  }
  return CompileShaderText(renderer, flags, fileName, text);
}
