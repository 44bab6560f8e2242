#pragma once
// Compiling ".jsm" material scripts and ".jsv" vertex scripts into shader
// resources. A script is a list of statements separated by ";"; the first
// token of each is a command word looked up in the word table of the shader
// kind and handled at once. Unknown words and malformed statements are
// skipped without a message.
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>

class Lumetra;
class DX8BaseShader;

using ShaderTokens = std::span<const std::string>;
// Compile-time handler of one command word; tokens[0] is the word itself.
using ShaderCommandHandler = void (*)(Lumetra* renderer, DX8BaseShader* shader, ShaderTokens tokens);
using ShaderWordTable = std::unordered_map<std::string, ShaderCommandHandler>;

// The three word tables, built once: the 20 expression words, those plus the
// 33 material words, those plus the 7 vertex words.
const ShaderWordTable& ExpressionWords();
const ShaderWordTable& MaterialWords();
const ShaderWordTable& VertexWords();

// The words of each kind on their own (for building the tables).
void AddExpressionWords(ShaderWordTable* table);
void AddMaterialWords(ShaderWordTable* table);
void AddVertexWords(ShaderWordTable* table);

// A vertex shader with RF_VERTEX in `flags`, else a material shader, named
// `fileName`. With RF_EMPTY it is returned at once, unregistered; otherwise
// the file is read and compiled and the shader registered with the
// renderer. Null without a renderer or when the file cannot be read.
DX8BaseShader* CompileShader(Lumetra* renderer, uint32_t flags, const std::string& fileName);
// The same on script text already in memory (always registers the shader).
DX8BaseShader* CompileShaderText(Lumetra* renderer, uint32_t flags, const std::string& name,
                                 std::string_view text);
