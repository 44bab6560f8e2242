// Script commands of the "cursor" block.
#include "engine/frame/BaseCursor.h"
#include "engine/config/ConfigParser.h"
#include "engine/frame/ServiceCommands.h"
#include "engine/frame/ServiceLanguage.h"
#include "engine/frame/ServiceScript.h"
#include "base/StringUtil.h"

using namespace svcscript;

namespace {

// The cursor block keeps its cursor as the secondary object; a derived
// cursor block may keep it as the current object instead.
cEntity_BaseCursor* CurrentCursor(ConfigParser* parser) {
  if (auto* cursor = dynamic_cast<cEntity_BaseCursor*>(ObjectEntity(parser, parser->GetSecondaryObject()))) {
    return cursor;
  }
  return dynamic_cast<cEntity_BaseCursor*>(ObjectEntity(parser, parser->GetCurrentObject()));
}

}  // namespace

CoreStatus CursorCommand(CStringArray& tokens, CoreParser* reader) {
  ConfigParser* parser = AsConfigParser(reader);
  if (!parser || tokens.size() < 2) return status::Fail;
  cEntity_Base* entity = SpawnNamed(parser, cEntity_BaseCursor::kSpawnName, tokens[1], "CursorCommand");
  auto* cursor = dynamic_cast<cEntity_BaseCursor*>(entity);
  if (!cursor) {
    if (entity) entity->MarkForRemoval();
    return status::Fail;
  }
  parser->SetSecondaryObject(AsObject(cursor));
  PushLanguage(parser, "CursorLanguage");
  return status::Ok;
}

CoreStatus CursorPropCommand(CStringArray& tokens, CoreParser* reader) {
  ConfigParser* parser = AsConfigParser(reader);
  if (!parser || tokens.size() < 3) return status::Fail;
  cEntity_BaseCursor* cursor = CurrentCursor(parser);
  if (!cursor) return status::Fail;
  const std::string& key = tokens[1];
  JVector v;
  if (str::EqualsNoCase(key, "Camera")) {
    cursor->SetCameraName(tokens[2]);
  } else if (str::EqualsNoCase(key, "Model")) {
    cursor->AddModelName(tokens[2]);
  } else if (str::EqualsNoCase(key, "Scale")) {
    if (!ReadVector(tokens, &v)) return status::Fail;
    cursor->SetScale(v.x, v.y, v.z);
  } else if (str::EqualsNoCase(key, "Position")) {
    if (!ReadVector(tokens, &v)) return status::Fail;
    cursor->SetPosition(v.x, v.y, v.z);
  } else if (str::EqualsNoCase(key, "Rotation")) {
    if (!ReadVector(tokens, &v)) return status::Fail;
    cursor->SetRotation(v.x, v.y, v.z);
  } else {
    return status::Fail;
  }
  return status::Ok;
}

CoreStatus CursorServiceCommand(CStringArray& tokens, CoreParser* reader) {
  ConfigParser* parser = AsConfigParser(reader);
  if (!parser || tokens.size() < 2) return status::Fail;
  cEntity_BaseCursor* cursor = CurrentCursor(parser);
  if (!cursor) return status::Fail;
  cBaseService* service = FindService(Entities(parser), tokens[1], "CursorServiceCommand");
  if (!service) return status::Fail;
  JoinService(service, cursor);
  return status::Ok;
}

CoreStatus CursorEndLangCommand(CStringArray&, CoreParser* reader) {
  ConfigParser* parser = AsConfigParser(reader);
  if (!parser) return status::Fail;
  PopLanguage(parser);
  cEntity_BaseCursor* cursor = CurrentCursor(parser);
  if (!cursor) return status::Fail;
  if (ObjectEntity(parser, parser->GetSecondaryObject()) == cursor) {
    parser->SetSecondaryObject(nullptr);
  } else {
    parser->SetCurrentObject(nullptr);
  }
  return status::Ok;
}
