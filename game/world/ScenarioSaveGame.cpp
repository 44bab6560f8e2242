// The save-game file of the scenario: writing it through the serializer,
// checking a file's header for the screens, and loading it. A load reads the
// whole file and checks every record it can check before the running game
// is touched, so a bad file changes nothing.
#include <cstring>

#include "engine/files/Serializer.h"
#include "game/world/KV9GameScenario.h"
#include "game/world/SaveGameFile.h"
#include "game/world/ScenarioHost.h"
#include "platform/DebugOutput.h"
#include "platform/FileRead.h"

std::string cKV9_GameScenario::SavePath(const std::string& fileName) const {
  return (host_ ? host_->SaveDirectory() : std::string()) + "Normal\\" + fileName;
}

CoreStatus cKV9_GameScenario::SaveGame(const std::string& fileName) {
  if (!IsSafeSaveName(fileName)) {
    platform::DebugPrintf("[cEntity_GameScenario::SaveGame] refused the save name \"%s\"\n", fileName.c_str());
    return status::Fail;
  }
  const std::string path = SavePath(fileName);
  cSerializer out;
  if (!out.Initialize(path, true)) return status::Fail;
  uint8_t header[kSaveHeaderBytes];
  MakeSaveHeader(header);
  bool ok = out.WriteBlock(header, kSaveHeaderBytes);
  ok = ok && out.WriteBlock(scenarioBlob_.get(), scenarioBlob_ ? scenarioBlobSize_ : 0);
  SerialBlock block;
  uint32_t size = 0;
  ok = ok && Save(&block, &size) && out.WriteBlock(block.get(), size);
  if (host_) {
    const auto slots = host_->SaveRecordSlots();
    for (size_t i = 0; ok && i < slots.size(); ++i) {
      block.reset();
      size = 0;
      // A manager with nothing to keep answers false and hands out nothing
      // (the path finder of a world without roads, an event manager with an
      // empty queue): its record is written empty, as for a manager the game
      // does not have. Only a failed write fails the save.
      if (slots[i].save && !slots[i].save(&block, &size)) {
        block.reset();
        size = 0;
      }
      ok = out.WriteBlock(block.get(), block ? size : 0);
    }
  } else {
    ok = false;
  }
  // Close renames the finished file over the old save. After a failure the
  // file is not closed: the serializer abandons the unfinished one and the
  // old save stays as it was.
  if (!ok || !out.Close()) {
    platform::DebugPrintf("[cEntity_GameScenario::SaveGame] %s was not saved\n", path.c_str());
    return status::Fail;
  }
  return status::Ok;
}

bool cKV9_GameScenario::CheckSaveHeader(cSerializer* serializer) {
  if (!serializer) return false;
  SerialBlock block;
  uint32_t size = 0;
  if (!serializer->ReadBlock(&block, &size) || !IsSaveHeader(block.get(), size)) return false;
  const int64_t afterHeader = serializer->GetPosition();
  bool found = false;
  if (serializer->ReadBlock(&block, &size) && serializer->ReadBlock(&block, &size)) {
    uint8_t continent = 0;
    std::string name;
    found = PeekScenarioLocation(block.get(), size, &continent, &name) && HasLocation(continent, name);
  }
  serializer->SetPosition(afterHeader);
  return found;
}

bool cKV9_GameScenario::CheckSaveImage(const SaveFileImage& image, ScenarioRecord* record, std::string* why) {
  ScenarioRecord decoded;
  if (!decoded.Decode(image.Record(kSaveRecordScenario), image.RecordSize(kSaveRecordScenario), why)) return false;
  if (!HasLocation(decoded.continent, decoded.locationName)) {
    if (why) *why = "its location \"" + decoded.locationName + "\" is not installed";
    return false;
  }
  if (image.RecordSize(kSaveRecordWeather) != kWeatherRecordBytes) {
    if (why) *why = "its weather record holds " + std::to_string(image.RecordSize(kSaveRecordWeather)) +
                    " bytes, not " + std::to_string(kWeatherRecordBytes);
    return false;
  }
  if (record) *record = std::move(decoded);
  return true;
}

bool cKV9_GameScenario::ReadSaveFile(const std::string& path, SaveFileImage* image, ScenarioRecord* record,
                                     std::string* why) {
  std::vector<uint8_t> bytes;
  platform::FileReadError error;
  if (!platform::ReadFileBytes(path, kMaxSaveFileBytes, &bytes, &error)) {
    if (why) *why = error.text.empty() ? "it cannot be read" : error.text;
    return false;
  }
  return image->Parse(std::move(bytes), why) && CheckSaveImage(*image, record, why);
}

bool cKV9_GameScenario::LoadGame() {
  SaveFileImage image;
  ScenarioRecord record;
  std::string why;
  if (!ReadSaveFile(loadPath_, &image, &record, &why)) {
    platform::DebugPrintf("[cEntity_GameScenario::LoadGame] %s is refused: %s\n", loadPath_.c_str(), why.c_str());
    return false;
  }
  // The file checked out: only now is the running game replaced.
  if (host_) host_->ClearWorld();
  Stop();
  const uint32_t blobSize = image.RecordSize(kSaveRecordBlob);
  SerialBlock blob;
  if (blobSize) {
    blob = std::make_unique<uint8_t[]>(blobSize);
    std::memcpy(blob.get(), image.Record(kSaveRecordBlob), blobSize);
  }
  TakeScenarioBlob(std::move(blob), blobSize);
  ApplyRecord(record);
  if (host_) {
    const auto slots = host_->SaveRecordSlots();
    for (size_t i = 0; i < slots.size(); ++i) {
      const int number = static_cast<int>(i) + 4;
      if (slots[i].load && !slots[i].load(image.Record(number), image.RecordSize(number)))
        platform::DebugPrintf("[cEntity_GameScenario::LoadGame] record %d was not taken\n", number);
    }
  }
  loadPath_.clear();
  if (host_) host_->AdvanceProgress(5);
  return true;
}

CoreStatus cKV9_GameScenario::LoadFromFile(const std::string& fileName, bool inGame) {
  if (!host_) return status::Fail;
  host_->ShowLoadingScreen();
  if (!IsSafeSaveName(fileName)) {
    platform::DebugPrintf("[cEntity_GameScenario::LoadFromFile] refused the save name \"%s\"\n", fileName.c_str());
    host_->HideLoadingScreen();
    return status::Fail;
  }
  loadPath_ = isScenarioFile ? host_->ScenarioDirectory() + fileName : SavePath(fileName);
  if (!LoadGame()) {
    loadPath_.clear();
    host_->HideLoadingScreen();
    return status::Fail;
  }
  return BuildTerrainAndInterface(inGame);
}
