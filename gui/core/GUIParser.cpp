#include "gui/core/GUIParser.h"

#include "engine/config/CoreLanguage.h"
#include "engine/config/LanguageManager.h"
#include "engine/entity/EntityManager.h"
#include "gui/core/GUIEntity.h"
#include "gui/core/GUIWorld.h"
#include "platform/DebugOutput.h"

void GUIParser::PushParent(GUIEntity* entity) {
  GUIEntity* pushed = entity ? entity : current_;
  if (pushed) parents_.push_front(pushed);
}

GUIEntity* GUIParser::PopParent() {
  if (parents_.empty()) return nullptr;
  GUIEntity* top = parents_.front();
  parents_.pop_front();
  return top;
}

void GUIParser::EndBlock() {
  GUIEntity* finished = current_;
  GUIEntity* parent = PopParent();
  current_ = parent;
  if (finished && parent) parent->AddChild(finished, true);
}

void GUIParser::Forget(GUIEntity* entity) {
  parents_.remove(entity);
  if (current_ == entity) current_ = nullptr;
}

bool GUIParser::MakeWorld() {
  cEntity_Manager* manager = gui_->GetEntityManager();
  cEntity_Base* created = nullptr;
  if (!manager || manager->CreateEntityByName("SpawnWorld", &created) != status::Ok) return false;
  auto* world = dynamic_cast<GUIWorld*>(created);
  if (!world) {
    if (created) created->MarkForRemoval();
    return false;
  }
  world->SetGUI(gui_);
  world->SetBoundsShaders("solidshader.jpg", "ghostshader.jpg");
  world->SetShader(world->GetSolidShader());
  world->SetName("TheWorld");
  gui_->SetWorld(world);
  return true;
}

bool GUIParser::Parse(CStringArray& tokens) {
  std::vector<GUIToken> lined;
  lined.reserve(tokens.size());
  for (const std::string& text : tokens) lined.push_back({text, 0});
  return ParseTokens(lined, "<tokens>");
}

bool GUIParser::RunStatement(CStringArray& statement) {
  LanguageManager* languages = gui_->GetLanguageManager();
  if (!languages || statement.empty() || statement[0].empty()) return true;
  const CommandHandler handler = languages->LookupKeyword(statement[0]);
  // A keyword no language knows is skipped.
  if (!handler) return true;
  return !status::Failed(handler(statement, this));
}

void GUIParser::CloseBlock(const std::string& fileName, int32_t line) {
  if (blocks_.empty()) {
    platform::DebugPrintf("[GUIParser] %s:%d: \"}\" closes no block; ignored\n", fileName.c_str(), line);
    return;
  }
  const Block block = blocks_.back();
  blocks_.pop_back();
  if (!block.opened) return;
  if (current_) current_->Initialize();
  EndBlock();
  if (block.pushedLanguage) {
    if (LanguageManager* languages = gui_->GetLanguageManager()) languages->PopLanguage();
  }
}

bool GUIParser::ParseTokens(const std::vector<GUIToken>& tokens, const std::string& fileName) {
  if (!gui_) return false;
  if (!gui_->GetWorld() && !MakeWorld()) return false;
  GUIWorld* world = gui_->GetWorld();
  current_ = world;
  blocks_.clear();
  const float step = tokens.empty() ? 0.0f : 1.0f / static_cast<float>(tokens.size());
  LanguageManager* languages = gui_->GetLanguageManager();
  size_t start = 0;
  while (start < tokens.size()) {
    progress_ += step;
    size_t end = start;
    while (end < tokens.size()) {
      const std::string& t = tokens[end].text;
      if (t == ";" || t == "{") break;
      if (t == "}") {
        // The block ends before the statement in front of the "}" runs.
        CloseBlock(fileName, tokens[end].line);
        break;
      }
      progress_ += step;
      ++end;
    }
    const bool opens = end < tokens.size() && tokens[end].text == "{";
    CStringArray statement;
    for (size_t i = start; i < end; ++i) statement.push_back(tokens[i].text);
    const int32_t line = start < tokens.size() ? tokens[start].line : 0;
    GUIEntity* before = current_;
    CoreLanguage* languageBefore = languages ? languages->GetCurrentLanguage() : nullptr;
    const size_t depthBefore = languages ? languages->GetStackDepth() : 0;
    if (!statement.empty() && !statement[0].empty() && !RunStatement(statement)) {
      platform::DebugPrintf("[GUIParser] %s:%d: statement \"%s\" refused\n", fileName.c_str(), line,
                            statement[0].c_str());
    }
    start = end + 1;
    Block block;
    block.opened = current_ != before && current_ != nullptr;
    block.pushedLanguage =
        block.opened && languages &&
        (languages->GetStackDepth() != depthBefore || languages->GetCurrentLanguage() != languageBefore);
    if (!opens) {
      // A creation without "{" has no block of its own: it is completed at
      // once, so that it neither swallows the statements after it nor
      // leaves its language behind.
      if (block.opened) {
        blocks_.push_back(block);
        CloseBlock(fileName, line);
      }
      continue;
    }
    if (block.opened) {
      blocks_.push_back(block);
      continue;
    }
    // A "{" that opened nothing: its block would land on the enclosing
    // entity and its "}" would close that one. Skip to the matching "}".
    platform::DebugPrintf("[GUIParser] %s:%d: \"%s\" opened no block; its block is skipped\n", fileName.c_str(),
                          line, statement.empty() ? "" : statement[0].c_str());
    int depth = 1;
    while (start < tokens.size() && depth > 0) {
      if (tokens[start].text == "{") ++depth;
      if (tokens[start].text == "}") --depth;
      progress_ += step;
      ++start;
    }
  }
  // Blocks still open at the end of the text are closed as if by "}".
  while (!blocks_.empty()) CloseBlock(fileName, tokens.empty() ? 0 : tokens.back().line);
  if (world && gui_->GetWorld() == world) world->Initialize();
  current_ = gui_->GetWorld();
  return true;
}
