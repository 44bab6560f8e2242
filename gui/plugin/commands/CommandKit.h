// Shared steps of the GUI commands: the parser and current entity of a
// statement, numbers and truth values as the C runtime reads them, resource
// files joined to their base paths, and running another command on a child.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

#include "engine/config/CommandHandler.h"
#include "engine/services/C3DBaseShader.h"
#include "engine/services/C3DFont.h"
#include "engine/services/C3DModel.h"
#include "gui/core/GUIEntity.h"
#include "gui/core/GUIParser.h"
#include "gui/core/ResourceRef.h"

namespace guicmd {

inline constexpr CoreStatus kFail = status::Fail;

// The GUI parser behind a command's parser argument, or null.
inline GUIParser* Parser(CoreParser* parser) { return dynamic_cast<GUIParser*>(parser); }
inline Panelis* Service(GUIParser* parser) { return parser ? parser->GetGUI() : nullptr; }
// The current entity as T, or null.
template <typename T>
T* Current(GUIParser* parser) {
  return parser ? dynamic_cast<T*>(parser->GetCurrent()) : nullptr;
}

// Token i read as atof / atoi read it; 0 when absent.
float Float(const CStringArray& tokens, size_t i);
int32_t Int(const CStringArray& tokens, size_t i);
// "true" in any case, or exactly "1".
bool Truth(const std::string& word);
bool Is(const std::string& word, const char* expected);

// A resource made by the renderer from the GUI's resource path or from the
// entity's owner's resource path; the reference is the caller's.
C3DModel* MakeModel(GUIParser* parser, uint32_t flags, const std::string& file);
C3DBaseShader* MakeShader(GUIParser* parser, uint32_t flags, const std::string& file);
C3DBaseShader* MakeOwnerShader(GUIParser* parser, GUIEntity* entity, uint32_t flags, const std::string& file);
C3DFont* MakeOwnerFont(GUIParser* parser, GUIEntity* entity, uint32_t flags, const std::string& file);
// Every material of the model gets the shader.
void ShadeModel(C3DModel* model, C3DBaseShader* shader);

// Makes `child` current, runs the handler on the tokens and makes the
// former current entity current again; the handler's status.
CoreStatus RunOn(GUIParser* parser, GUIEntity* child, CommandHandler handler, CStringArray& tokens);

// Holds a resource a command made until a widget took its own reference.
template <typename T>
struct Made {
  explicit Made(T* made) { ref.Adopt(made); }
  T* get() const { return ref.Get(); }
  explicit operator bool() const { return ref.Get() != nullptr; }
  ResourceRef<T> ref;
};

}  // namespace guicmd
