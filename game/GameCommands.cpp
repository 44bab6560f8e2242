#include "game/GameCommands.h"

#include <memory>

#include "base/StringUtil.h"
#include "engine/config/ConfigParser.h"
#include "engine/frame/ServiceCommands.h"
#include "engine/frame/ServiceLanguage.h"
#include "engine/frame/ServiceScript.h"
#include "game/GameCamera.h"
#include "game/GameCursor.h"

using namespace svcscript;

namespace {

// The camera block keeps its camera where the engine's camera statements
// look for it (the secondary object), so they serve it unchanged.
cEntity_GameCamera* CurrentGameCamera(ConfigParser* parser) {
  return dynamic_cast<cEntity_GameCamera*>(ObjectEntity(parser, parser->GetSecondaryObject()));
}

cEntity_GameCursor* CurrentGameCursor(ConfigParser* parser) {
  return dynamic_cast<cEntity_GameCursor*>(ObjectEntity(parser, parser->GetCurrentObject()));
}

bool IsYes(const std::string& word) { return str::EqualsNoCase(word, "true") || str::EqualsNoCase(word, "yes"); }

}  // namespace

std::string JoinWindowsPath(const std::string& folder, const std::string& name) {
  if (folder.empty()) return name;
  const bool folderEnds = folder.back() == '\\' || folder.back() == '/';
  const bool nameStarts = !name.empty() && (name.front() == '\\' || name.front() == '/');
  if (folderEnds && nameStarts) return folder + name.substr(1);
  if (folderEnds || nameStarts) return folder + name;
  return folder + "\\" + name;
}

CoreStatus GameCameraCommand(CStringArray& tokens, CoreParser* reader) {
  ConfigParser* parser = AsConfigParser(reader);
  if (!parser || tokens.size() < 2) return status::Fail;
  cEntity_Base* entity = SpawnNamed(parser, cEntity_GameCamera::kSpawnName, tokens[1], "GameCameraCommand");
  auto* camera = dynamic_cast<cEntity_GameCamera*>(entity);
  if (!camera) {
    if (entity) entity->MarkForRemoval();
    return status::Fail;
  }
  parser->SetSecondaryObject(AsObject(camera));
  PushLanguage(parser, "GameCameraLanguage");
  return status::Ok;
}

CoreStatus GameCameraPropCommand(CStringArray& tokens, CoreParser* reader) {
  ConfigParser* parser = AsConfigParser(reader);
  if (!parser || !CurrentGameCamera(parser)) return status::Fail;
  return CameraPropCommand(tokens, reader);
}

CoreStatus GameCameraEndLangCommand(CStringArray& tokens, CoreParser* reader) {
  return CameraEndLangCommand(tokens, reader);
}

CoreStatus GameCursorCommand(CStringArray& tokens, CoreParser* reader) {
  ConfigParser* parser = AsConfigParser(reader);
  if (!parser || tokens.size() < 2) return status::Fail;
  cEntity_Base* entity = SpawnNamed(parser, cEntity_GameCursor::kSpawnName, tokens[1], "GameCursorCommand");
  auto* cursor = dynamic_cast<cEntity_GameCursor*>(entity);
  if (!cursor) {
    if (entity) entity->MarkForRemoval();
    return status::Fail;
  }
  parser->SetCurrentObject(AsObject(cursor));
  PushLanguage(parser, "GameCursorLanguage");
  return status::Ok;
}

CoreStatus GameCursorPropCommand(CStringArray& tokens, CoreParser* reader) {
  ConfigParser* parser = AsConfigParser(reader);
  if (!parser) return status::Fail;
  cEntity_GameCursor* cursor = CurrentGameCursor(parser);
  if (!cursor) return status::Fail;
  // "property basepath <folder>": three tokens suffice; the separator is
  // added only when the folder lacks one.
  if (tokens.size() >= 3 && str::EqualsNoCase(tokens[1], "basepath")) {
    std::string folder = tokens[2];
    if (folder.empty() || (folder.back() != '\\' && folder.back() != '/')) folder += '\\';
    cursor->SetBasePath(folder);
    return status::Ok;
  }
  return CursorPropCommand(tokens, reader);
}

CoreStatus GameCursorStateCommand(CStringArray& tokens, CoreParser* reader) {
  if (tokens.size() < 4 || tokens.size() > 6) return status::Fail;
  ConfigParser* parser = AsConfigParser(reader);
  if (!parser) return status::Fail;
  cEntity_GameCursor* cursor = CurrentGameCursor(parser);
  if (!cursor) return status::Fail;
  if (cursor->GetStateMap().count(str::ToLower(tokens[1]))) return status::Ok;
  auto state = std::make_unique<_CursorState>();
  state->name = tokens[1];
  state->lock = IsYes(tokens[2]) ? 1 : 0;
  state->modelPath = JoinWindowsPath(cursor->GetBasePath(), tokens[3]);
  if (tokens.size() > 4) state->extraText = tokens[4];
  if (tokens.size() > 5) state->secondFlag = IsYes(tokens[5]) ? 1 : 0;
  return cursor->AddCursorState(std::move(state));
}

CoreStatus GameCursorEndLangCommand(CStringArray& tokens, CoreParser* reader) {
  return CursorEndLangCommand(tokens, reader);
}
