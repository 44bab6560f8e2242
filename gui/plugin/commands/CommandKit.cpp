#include "gui/plugin/commands/CommandKit.h"

#include "base/StringUtil.h"
#include "engine/entity/EntityManager.h"
#include "engine/services/Core3D.h"
#include "engine/services/Panelis.h"
#include "platform/Locale.h"

namespace guicmd {

float Float(const CStringArray& tokens, size_t i) { return i < tokens.size() ? platform::ParseFloat(tokens[i]) : 0.0f; }

int32_t Int(const CStringArray& tokens, size_t i) { return i < tokens.size() ? platform::ParseInt(tokens[i]) : 0; }

bool Truth(const std::string& word) { return word == "1" || str::EqualsNoCase(word, "true"); }

bool Is(const std::string& word, const char* expected) { return str::EqualsNoCase(word, expected); }

namespace {

Core3D* Renderer(GUIParser* parser) {
  Panelis* gui = Service(parser);
  return gui ? gui->GetRenderer() : nullptr;
}

std::string OwnerBase(GUIEntity* entity) {
  cEntity_Manager* owner = entity ? entity->GetManager() : nullptr;
  return owner ? owner->GetResourcePath() : std::string();
}

}  // namespace

C3DModel* MakeModel(GUIParser* parser, uint32_t flags, const std::string& file) {
  Core3D* renderer = Renderer(parser);
  return renderer ? renderer->CreateModel(flags, Service(parser)->GetResourcePath() + file) : nullptr;
}

C3DBaseShader* MakeShader(GUIParser* parser, uint32_t flags, const std::string& file) {
  Core3D* renderer = Renderer(parser);
  return renderer ? renderer->CreateShader(flags, Service(parser)->GetResourcePath() + file) : nullptr;
}

C3DBaseShader* MakeOwnerShader(GUIParser* parser, GUIEntity* entity, uint32_t flags, const std::string& file) {
  Core3D* renderer = Renderer(parser);
  return renderer ? renderer->CreateShader(flags, OwnerBase(entity) + file) : nullptr;
}

C3DFont* MakeOwnerFont(GUIParser* parser, GUIEntity* entity, uint32_t flags, const std::string& file) {
  Core3D* renderer = Renderer(parser);
  return renderer ? renderer->CreateFont(flags, OwnerBase(entity) + file) : nullptr;
}

void ShadeModel(C3DModel* model, C3DBaseShader* shader) {
  if (!model) return;
  for (uint16_t i = 0; i < model->GetPartCount(); ++i) model->SetShader(i, shader);
}

CoreStatus RunOn(GUIParser* parser, GUIEntity* child, CommandHandler handler, CStringArray& tokens) {
  GUIEntity* former = parser->GetCurrent();
  parser->SetCurrent(child);
  const CoreStatus result = handler(tokens, parser);
  parser->SetCurrent(former);
  return result;
}

}  // namespace guicmd
