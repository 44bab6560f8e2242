// Script commands of the "timeservice" block and its "timeline" blocks.
#include "engine/config/ConfigParser.h"
#include "engine/frame/GameManager.h"
#include "engine/frame/ServiceCommands.h"
#include "engine/frame/ServiceLanguage.h"
#include "engine/frame/ServiceScript.h"
#include "base/StringUtil.h"
#include "engine/frame/TimeService.h"
#include "platform/DebugOutput.h"
#include "platform/Locale.h"

using namespace svcscript;

namespace {

TimeService* CurrentTimeService(ConfigParser* parser) {
  return dynamic_cast<TimeService*>(ObjectEntity(parser, parser->GetCurrentObject()));
}

}  // namespace

CoreStatus TimeServiceCommand(CStringArray& tokens, CoreParser* reader) {
  ConfigParser* parser = AsConfigParser(reader);
  if (!parser || tokens.size() < 2) return status::Fail;
  cEntity_Base* entity = SpawnNamed(parser, TimeService::kSpawnName, tokens[1], "TimeServiceCommand");
  auto* service = dynamic_cast<TimeService*>(entity);
  if (!service) {
    if (entity) entity->MarkForRemoval();
    return status::Fail;
  }
  parser->SetCurrentObject(AsObject(service));
  PushLanguage(parser, "TimeServiceLanguage");
  return status::Ok;
}

CoreStatus TimelineCommand(CStringArray& tokens, CoreParser* reader) {
  ConfigParser* parser = AsConfigParser(reader);
  if (!parser) return status::Fail;
  TimeService* service = CurrentTimeService(parser);
  if (!service) return status::Fail;
  const std::string name = tokens.size() >= 2 ? tokens[1] : std::string();
  // A script timeline starts paused with no time and no frames left: its
  // block must give both limits or the first frame releases it.
  if (!name.empty()) service->GetTimer().CreateTimeline(name, true, 0.0f, 0);
  parser->SetSubName(name);
  PushLanguage(parser, "TimelineLanguage");
  return status::Ok;
}

CoreStatus TimelinePropCommand(CStringArray& tokens, CoreParser* reader) {
  ConfigParser* parser = AsConfigParser(reader);
  if (!parser || tokens.size() < 3) return status::Fail;
  TimeService* service = CurrentTimeService(parser);
  if (!service) return status::Fail;
  Timer& timer = service->GetTimer();
  const int32_t index = timer.FindTimeline(parser->GetSubName());
  if (index == -1) return status::Fail;
  const std::string& key = tokens[1];
  const std::string& value = tokens[2];
  if (str::EqualsNoCase(key, "paused")) {
    timer.SetPaused(index, ReadBool(value));
  } else if (str::EqualsNoCase(key, "framespan")) {
    timer.SetRemainingFrames(index, value == "max" ? Timer::kUnlimitedFrames : platform::ParseInt(value));
  } else if (str::EqualsNoCase(key, "timespan")) {
    timer.SetRemainingTime(index, value == "max" ? Timer::kUnlimitedTime : platform::ParseFloat(value) * 1000.0f);
  } else {
    return status::Fail;
  }
  return status::Ok;
}

CoreStatus TLEndLangCommand(CStringArray&, CoreParser* reader) {
  ConfigParser* parser = AsConfigParser(reader);
  if (!parser) return status::Fail;
  PopLanguage(parser);
  parser->SetSubName(std::string());
  return status::Ok;
}

CoreStatus TSEndLangCommand(CStringArray&, CoreParser* reader) {
  ConfigParser* parser = AsConfigParser(reader);
  if (!parser) return status::Fail;
  PopLanguage(parser);
  TimeService* service = CurrentTimeService(parser);
  if (!service) return status::Fail;
  parser->SetCurrentObject(nullptr);
  cGameManager* manager = GameManager(parser);
  if (!manager) {
    platform::DebugPrintf("[TSEndLangCommand] no game manager to file \"%s\" with\n", service->NameRef().c_str());
    return status::Fail;
  }
  return manager->AddService(service);
}
