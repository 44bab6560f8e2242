#include "gui/core/actions/ActionText.h"

#include "base/StringUtil.h"
#include "engine/entity/EntityManager.h"
#include "gui/core/GUIEntity.h"
#include "gui/core/GUIWorld.h"
#include "platform/Locale.h"

namespace guiaction {

std::vector<std::string> Words(const std::string& text) {
  std::vector<std::string> words;
  size_t i = 0;
  while (i < text.size()) {
    while (i < text.size() && str::IsBlank(text[i])) ++i;
    const size_t start = i;
    while (i < text.size() && !str::IsBlank(text[i])) ++i;
    if (i > start) words.push_back(text.substr(start, i - start));
  }
  return words;
}

std::string Rest(const std::string& text, size_t count) {
  size_t i = 0;
  for (size_t w = 0; w < count; ++w) {
    while (i < text.size() && str::IsBlank(text[i])) ++i;
    while (i < text.size() && !str::IsBlank(text[i])) ++i;
  }
  while (i < text.size() && str::IsBlank(text[i])) ++i;
  return text.substr(i);
}

float Number(const std::string& word) { return platform::ParseFloat(word); }

bool Truth(const std::string& word) { return word == "1" || str::EqualsNoCase(word, "true"); }

namespace {

GUIEntity* InTree(GUIEntity* node, uintptr_t word) {
  if (!node) return nullptr;
  if (EntityWord(node) == word) return node;
  for (GUIEntity* child : node->Children()) {
    if (GUIEntity* found = InTree(child, word)) return found;
  }
  return nullptr;
}

}  // namespace

GUIEntity* SenderEntity(cEntity_Base* context, uintptr_t word) {
  if (!word) return nullptr;
  if (EntityWord(context) == word) return dynamic_cast<GUIEntity*>(context);
  auto* entity = dynamic_cast<GUIEntity*>(context);
  Panelis* gui = entity ? entity->GetGUI() : nullptr;
  GUIWorld* world = gui ? gui->GetWorld() : nullptr;
  return InTree(world, word);
}

cEntity_Base* FindNamed(cEntity_Base* context, const std::string& name) {
  cEntity_Manager* manager = context ? context->GetManager() : nullptr;
  return manager ? manager->FindEntity(name) : nullptr;
}

}  // namespace guiaction
