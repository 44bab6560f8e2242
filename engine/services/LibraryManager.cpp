#include "engine/services/LibraryManager.h"

#include <unistd.h>

#include <cmath>
#include <iterator>
#include <new>

#include "engine/entity/ActionBase.h"
#include "engine/entity/ActionFactory.h"
#include "engine/config/CommandRegistry.h"
#include "engine/config/ConfigManager.h"
#include "engine/services/Core3D.h"
#include "engine/services/CoreBase.h"
#include "engine/services/CoreBaseDescriptor.h"
#include "engine/services/CoreInput.h"
#include "engine/services/CoreInterface.h"
#include "engine/entity/EntityManager.h"
#include "engine/services/CorePack.h"
#include "engine/services/CorePhysics.h"
#include "engine/services/Core_OCPack.h"
#include "engine/services/GlobalWrapper.h"
#include "engine/services/Panelis.h"
#include "engine/services/SoundMgr.h"
#include "engine/entity/SpawnBase.h"
#include "base/StringUtil.h"
#include "platform/DebugOutput.h"
#include "platform/Directory.h"
#include "platform/Locale.h"
#include "platform/MessageBox.h"
#include "platform/Paths.h"

namespace {

// Library indices are kept in a byte.
constexpr size_t kMaxLibraries = 256;
// A library listing more descriptors than this is taken to be broken.
constexpr int32_t kMaxDescriptorsPerLibrary = 256;
constexpr int32_t kLastServiceType = 12;

struct DepthFormat {
  int32_t depth, stencil, padding;
};
constexpr DepthFormat kDepthFormats[] = {{24, 8, 0}, {24, 4, 4}, {32, 0, 0}, {24, 0, 8}, {15, 1, 0}, {16, 0, 0}};

struct ScreenSize {
  int32_t width, height;
};
constexpr ScreenSize kStandardSizes[] = {{1024, 768}, {800, 600}, {640, 480}};

bool IsPackageType(int32_t type) {
  return type == eService_ActionPack || type == eService_SpawnPack || type == eService_OCPack;
}

// The restart's answer when the old display mode runs on.
constexpr CoreStatus kPreviousModeKept = 1;

bool ReadsTrue(const std::string& value) { return str::EqualsNoCase(value, "true") || value == "1"; }

std::string RunningProgramPath() {
  char buffer[4096];
  const ssize_t n = readlink("/proc/self/exe", buffer, sizeof(buffer) - 1);
  if (n <= 0) return std::string();
  return std::string(buffer, static_cast<size_t>(n));
}

// The directory part of a path, up to and including its last separator.
std::string DirectoryOf(const std::string& path) {
  const size_t slash = path.find_last_of("\\/");
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

// A configured directory: a separator is appended when missing; "path=" (any
// case) gives the rest of the value as it is, anything else is taken relative
// to the program's directory.
std::string MakeDirectory(std::string value, const std::string& programDirectory) {
  if (value.empty() || (value.back() != '\\' && value.back() != '/')) value += '\\';
  if (str::StartsWithNoCase(value, "path=")) return value.substr(5);
  return programDirectory + value;
}

// Files an option record in the module's option map, replacing one of the
// same name, and has the module apply its options.
void PutOption(CoreBase* module, const CoreBaseConfig& option) {
  CoreBaseConfigMap* options = nullptr;
  module->GetConfig(&options);
  if (!options) return;
  CoreBaseConfig* record = new (std::nothrow) CoreBaseConfig(option);
  if (!record) return;
  auto it = options->find(option.name);
  if (it != options->end()) {
    delete it->second;
    it->second = record;
  } else {
    options->emplace(option.name, record);
  }
  module->ApplyConfig();
}

}  // namespace

bool MeetsMinimumGraphicsCapabilities(Core3D* graphics) {
  if (!graphics) return false;
  for (int32_t index : {1, 2}) {
    uint32_t value = 0;
    if (status::Failed(graphics->GetCapability(index, &value)) || value < kMinimumGraphicsCapability) return false;
  }
  return true;
}

cCore_LibraryManager::cCore_LibraryManager() : programPath_(RunningProgramPath()) {}

cCore_LibraryManager::~cCore_LibraryManager() = default;

CoreStatus cCore_LibraryManager::Init(uint32_t mask, cCore_ConfigManager* config, cCore_GlobalWrapper* table) {
  if (!config || !table) return status::Fail;
  serviceMask_ = mask;
  const std::string programDirectory = DirectoryOf(programPath_);

  std::string value;
  if (!config->GetString("App", "library_path", value)) {
    platform::OutputDebugString("[cCore_LibraryManager::Init] no App library_path\n");
    return status::Fail;
  }
  libraryPath_ = MakeDirectory(value, programDirectory);
  value.clear();
  if (!config->GetString("App", "resource_path", value)) {
    platform::OutputDebugString("[cCore_LibraryManager::Init] no App resource_path\n");
    return status::Fail;
  }
  resourcePath_ = MakeDirectory(value, programDirectory);
  if (table->entityManager) table->entityManager->SetResourcePath(resourcePath_);
  if (!config->GetInt("App", "MaxVersion", maxVersion_) || !config->GetInt("App", "MinVersion", minVersion_)) {
    platform::OutputDebugString("[cCore_LibraryManager::Init] no App MaxVersion or MinVersion\n");
    return status::Fail;
  }

  ScanDirectory();
  ResolveConflicts();
  if (status::Failed(CreateServices(table, config))) return status::Fail;
  table->SetLibraryManager(this);
  if (config != restartConfig_) {
    // Installed once per configuration manager: the restart runs this very
    // Init, which must not replace the function it is running from.
    restartConfig_ = config;
    config->SetServiceRestart([this](uint32_t restartMask, cCore_ConfigManager* restartConfig,
                                     cCore_GlobalWrapper* restartTable) {
      return RestartServices(restartMask, restartConfig, restartTable);
    });
  }
  return status::Ok;
}

CoreStatus cCore_LibraryManager::ScanDirectory() {
  std::string directory;
  if (!platform::ResolvePath(libraryPath_, &directory)) {
    platform::DebugPrintf("[cCore_LibraryManager::ScanDirectory] no directory %s\n", libraryPath_.c_str());
    return status::Fail;
  }
  std::vector<platform::DirEntry> entries;
  if (!platform::ListDirectory(directory, &entries)) return status::Fail;
  bool found = false;
  for (const platform::DirEntry& entry : entries) {
    if (entry.isDirectory || !platform::WildcardMatch("*.so", entry.name)) continue;
    found = true;
    AddLibrary(libraryPath_ + entry.name);
  }
  return found ? status::Ok : status::Fail;
}

void cCore_LibraryManager::AddLibrary(const std::string& path) {
  std::string file;
  if (!platform::ResolvePath(path, &file)) file = path;
  platform::LibraryHandle handle = platform::LoadLibrary(file);
  if (!handle) {
    platform::DebugPrintf("[cCore_LibraryManager::AddLibrary] %s: %s\n", file.c_str(), platform::LibraryError().c_str());
    return;
  }
  for (const DLLData& library : libraries_) {
    if (library.handle == handle) {
      platform::FreeLibrary(handle);  // already listed: drop the extra load
      return;
    }
  }
  auto getCoreDesc = reinterpret_cast<GetCoreDescFunc>(platform::GetProcAddress(handle, kGetCoreDescExport));
  if (!getCoreDesc || libraries_.size() >= kMaxLibraries) {
    platform::FreeLibrary(handle);
    return;
  }
  libraries_.push_back(DLLData{handle, 0});
  const size_t libraryIndex = libraries_.size() - 1;

  uint32_t listed = 0;
  for (int32_t index = 0; index < kMaxDescriptorsPerLibrary; ++index) {
    CoreBaseDescriptor* descriptor = getCoreDesc(index);
    if (!descriptor) break;
    const double version = std::trunc(static_cast<double>(descriptor->GetVersion()));
    // A version that is no number, or out of any window, is never listed.
    if (!(version >= minVersion_ && version <= maxVersion_)) continue;
    classes_.push_back(ClassData{descriptor, static_cast<uint8_t>(libraryIndex), nullptr, true});
    ++listed;
  }
  libraries_[libraryIndex].classCount = listed;
  if (listed == 0) {
    platform::FreeLibrary(handle);
    libraries_.pop_back();
  }
}

void cCore_LibraryManager::ResolveConflicts() {
  int32_t winner[kLastServiceType + 1];
  for (int32_t& w : winner) w = -1;

  for (size_t i = 0; i < classes_.size(); ++i) {
    ClassData& candidate = classes_[i];
    const int32_t type = candidate.descriptor->GetServiceType();
    if (type < 0 || type > kLastServiceType || IsPackageType(type)) continue;
    if (winner[type] < 0) {
      winner[type] = static_cast<int32_t>(i);
      continue;
    }
    ClassData& current = classes_[static_cast<size_t>(winner[type])];
    bool candidateWins;
    if (current.instance != nullptr || candidate.instance != nullptr) {
      // A module that is already running keeps its service: a rescan after
      // a display-mode change must not replace it by an equal class.
      candidateWins = candidate.instance != nullptr && current.instance == nullptr;
    } else {
      candidateWins = current.descriptor->GetVersion() <= candidate.descriptor->GetVersion();
    }
    if (candidateWins) {
      current.active = false;
      winner[type] = static_cast<int32_t>(i);
    } else {
      candidate.active = false;
    }
  }

  std::vector<ClassData> kept;
  kept.reserve(classes_.size());
  for (ClassData& entry : classes_) {
    if (entry.active) {
      kept.push_back(entry);
      continue;
    }
    if (entry.instance) {  // never the case for a loser chosen above
      entry.instance->Shutdown();
      delete entry.instance;
      entry.instance = nullptr;
    }
    DLLData& library = libraries_[entry.libraryIndex];
    if (library.classCount > 0 && --library.classCount == 0) ReleaseLibrary(library);
  }
  classes_.swap(kept);
}

void cCore_LibraryManager::ReleaseLibrary(DLLData& library) {
  if (library.handle) platform::FreeLibrary(library.handle);
  // Cleared so that neither Shutdown nor a rescan can release it again.
  library.handle = nullptr;
}

CoreStatus cCore_LibraryManager::CreateServices(cCore_GlobalWrapper* table, cCore_ConfigManager* config) {
  for (ClassData& entry : classes_) {
    if (entry.active && !entry.instance) entry.instance = entry.descriptor->CreateCoreClass();
  }
  const uint32_t mask = serviceMask_;
  if (mask & kActionPacks) BindActionPacks(table);
  if (mask & kSpawnPacks) BindSpawnPacks(table);
  if (mask & kOCPacks) BindOCPacks(table);
  if ((mask & kReservedA) && !StartReservedA(table)) return status::Fail;
  if (mask & kSound) LoadSound(table, config);  // the game runs without sound
  if ((mask & kInput) && !LoadInput(table)) {
    RollBackInput(table);
    return status::Fail;
  }
  if ((mask & kGraphics) && !LoadGraphics(table, config)) {
    RollBackGraphics(table);
    return status::Fail;
  }
  if ((mask & kPhysics) && !LoadPhysics(table)) {
    RollBackPhysics(table);
    return status::Fail;
  }
  if ((mask & kInterface) && !LoadInterface(table)) {
    RollBackInterface(table);
    return status::Fail;
  }
  if ((mask & kGUI) && !LoadGUI(table)) {
    RollBackGUI(table);
    return status::Fail;
  }
  if ((mask & kReservedB) && !StartReservedB(table)) {
    RollBackReserved(table);
    return status::Fail;
  }
  return status::Ok;
}

cCore_LibraryManager::ClassData* cCore_LibraryManager::FindClass(int32_t serviceType) {
  for (ClassData& entry : classes_) {
    if (entry.descriptor->GetServiceType() == serviceType) return &entry;
  }
  return nullptr;
}

CoreBase* cCore_LibraryManager::FindInstance(int32_t serviceType) {
  ClassData* entry = FindClass(serviceType);
  CoreBase* module = entry ? entry->instance : nullptr;
  if (module) {
    module->SetLibraryPath(libraryPath_);
    module->SetResourcePath(resourcePath_);
  }
  return module;
}

bool cCore_LibraryManager::BindActionPacks(cCore_GlobalWrapper* table) {
  for (ClassData& entry : classes_) {
    if (entry.descriptor->GetServiceType() != eService_ActionPack) continue;
    auto* pack = dynamic_cast<CorePack<cAction_Base>*>(entry.instance);
    if (!pack || !table->actionFactory) continue;
    for (uint32_t index = 0;; ++index) {
      cAction_Base* action = pack->CreateItem(index);
      if (!action) break;
      // A refused action (its name is taken) is nobody's: drop it.
      if (!table->actionFactory->RegisterAction(action, action->IsActive())) delete action;
    }
  }
  return true;
}

bool cCore_LibraryManager::BindSpawnPacks(cCore_GlobalWrapper* table) {
  for (ClassData& entry : classes_) {
    if (entry.descriptor->GetServiceType() != eService_SpawnPack) continue;
    auto* pack = dynamic_cast<CorePack<cSpawn_Base>*>(entry.instance);
    if (!pack || !table->actionFactory) continue;
    for (uint32_t index = 0;; ++index) {
      cSpawn_Base* spawn = pack->CreateItem(index);
      if (!spawn) break;
      table->actionFactory->RegisterSpawn(spawn);
    }
  }
  return true;
}

bool cCore_LibraryManager::BindOCPacks(cCore_GlobalWrapper* table) {
  for (ClassData& entry : classes_) {
    if (entry.descriptor->GetServiceType() != eService_OCPack) continue;
    auto* pack = dynamic_cast<Core_OCPack*>(entry.instance);
    if (!pack || !table->commandRegistry) continue;
    if (CommandMap* commands = pack->GetCommandMap()) table->commandRegistry->RegisterAll(*commands);
  }
  return true;
}

bool cCore_LibraryManager::StartReservedA(cCore_GlobalWrapper*) { return false; }
bool cCore_LibraryManager::StartReservedB(cCore_GlobalWrapper*) { return false; }

bool cCore_LibraryManager::LoadSound(cCore_GlobalWrapper* table, cCore_ConfigManager* config) {
  auto* sound = dynamic_cast<SoundMgr*>(FindInstance(eService_Sound));
  if (!sound) return false;
  if (!sound->Init()) return false;  // the module's own start: the default output device
  table->SetSound(sound);
  sound->LoadConfig();

  struct SoundSwitch {
    const char* name;
    const char* description;
  };
  static constexpr SoundSwitch kSwitches[] = {{"snd_dx8_disable_music", "Disable Music"},
                                              {"snd_dx8_disable_sound", "Disable Sound"}};
  for (const SoundSwitch& setting : kSwitches) {
    std::string value;
    if (!config->GetString("Sound", setting.name, value) || !ReadsTrue(value)) continue;
    PutOption(sound, CoreBaseConfig{setting.name, "true", "true", "bool", setting.description, "0", "1"});
  }

  if (!sound->Init(table->window)) {
    platform::OutputDebugString("[cCore_LibraryManager::LoadSound] the sound output did not start\n");
    table->SetSound(nullptr);
    return false;
  }
  return true;
}

bool cCore_LibraryManager::LoadInput(cCore_GlobalWrapper* table) {
  auto* input = dynamic_cast<CoreInput*>(FindInstance(eService_Input));
  if (!input) return false;
  table->furtherWord = 0;
  const CoreStatus started =
      input->Init(table->window, table->instance, reinterpret_cast<void*>(table->furtherWord));
  if (status::Failed(started)) return false;
  table->SetInput(input);
  return true;
}

void cCore_LibraryManager::FreeAdapters(Core3D* graphics) {
  if (graphics) graphics->FreeModeList();
  adapters_ = nullptr;
  adapterCount_ = 0;
}

bool cCore_LibraryManager::EnsureAdapters(Core3D* graphics) {
  if (adapters_ && adapterCount_ > 0) return true;
  graphics->EnumerateAdapters();
  adapters_ = nullptr;
  adapterCount_ = graphics->GetModeList(&adapters_);
  if (adapterCount_ > 0 && adapters_) return true;
  adapters_ = nullptr;
  adapterCount_ = 0;
  return false;
}

void cCore_LibraryManager::ReportGraphicsFailure(const char* message) {
  const std::string line(message);
  platform::OutputDebugString(!line.empty() && line.back() == '\n' ? line : line + "\n");
  if (holdGraphicsMessages_) {
    heldGraphicsMessage_ = message;
    return;
  }
  platform::MessageBox(message, "Error", platform::MB_OK);
}

bool cCore_LibraryManager::LoadGraphics(cCore_GlobalWrapper* table, cCore_ConfigManager* config) {
  if (table->graphics) return status::Succeeded(ServiceInitGraphics(table, config));

  auto* graphics = dynamic_cast<Core3D*>(FindInstance(eService_Graphics));
  if (!graphics) return false;
  if (!graphics->Init()) return false;
  table->SetGraphics(graphics);
  adapters_ = nullptr;  // a new start lists the adapters afresh
  adapterCount_ = 0;
  if (!EnsureAdapters(graphics)) {
    ReportGraphicsFailure(kNoAdapterMessage);
    FreeAdapters(graphics);
    RollBackPhysics(table);
    return false;
  }

  config->SetDesktopModeIndex(adapters_[0].desktopMode);
  config->SetAdapter(0);
  config->SetBackBufferCount(1);
  config->SetMultiSampleType(0);

  std::string value;
  if (config->GetString("Graphics", "fullscreen", value)) config->SetWindowed(!ReadsTrue(value));
  value.clear();
  if (config->GetString("Graphics", "resolution", value)) {
    // The first blank-separated number is the width, the rest the height.
    const std::string trimmed = str::Trim(value);
    const size_t blank = trimmed.find_first_of(" \t");
    if (blank != std::string::npos) {
      int32_t width = 0;
      int32_t height = 0;
      if (platform::TryParseInt(trimmed.substr(0, blank), &width) &&
          platform::TryParseInt(str::Trim(trimmed.substr(blank + 1)), &height) && width > 0 && height > 0) {
        config->SetWindowSize(width, height);
      }
    }
  }
  value.clear();
  if (config->GetString("Graphics", "metrics", value) && (value == "true" || value == "1")) {
    PutOption(graphics, CoreBaseConfig{"gfx_metrics", "true", "true", "bool", "Metrics", "0", "1"});
  }
  value.clear();
  if (config->GetString("Graphics", "metric_placement", value)) {
    PutOption(graphics,
              CoreBaseConfig{"gfx_metric_placement", value, "0", "int", "Metric Placement", "0", "7"});
  }

  return status::Succeeded(ServiceInitGraphics(table, config));
}

int32_t cCore_LibraryManager::FindMode(int32_t width, int32_t height, uint32_t bits) const {
  if (!adapters_ || adapterCount_ <= 0) return -1;
  const std::vector<C3DModeEntry>& modes = adapters_[0].modes;
  int32_t chosen = -1;
  for (size_t i = 0; i < modes.size(); ++i) {
    const C3DModeEntry& mode = modes[i];
    if (static_cast<int64_t>(mode.width) != width || static_cast<int64_t>(mode.height) != height ||
        mode.BitsPerPixel() != bits) {
      continue;
    }
    if (chosen < 0) {
      chosen = static_cast<int32_t>(i);
      continue;
    }
    const C3DModeEntry& best = modes[static_cast<size_t>(chosen)];
    if (mode.redBits > best.redBits || mode.greenBits > best.greenBits || mode.blueBits > best.blueBits) {
      chosen = static_cast<int32_t>(i);
    }
  }
  return chosen;
}

bool cCore_LibraryManager::FindDepthFormat(Core3D* graphics, DisplaySettings* block) const {
  for (const DepthFormat& format : kDepthFormats) {
    block->depthBits = format.depth;
    block->stencilBits = format.stencil;
    block->paddingBits = format.padding;
    if (graphics->CheckMode(block)) return true;
  }
  return false;
}

CoreStatus cCore_LibraryManager::ServiceInitGraphics(cCore_GlobalWrapper* table, cCore_ConfigManager* config) {
  if (!table || !config || !table->graphics) return status::Fail;
  Core3D* graphics = table->graphics;
  graphics->ReleaseDevice();
  int32_t modeIndex = -1;
  if (!EnsureAdapters(graphics)) {
    ReportGraphicsFailure(kNoModeMessage);
    FreeAdapters(graphics);
    RollBackPhysics(table);
    return status::Fail;
  }
  const std::vector<C3DModeEntry>& modes = adapters_[0].modes;
  const auto validMode = [&](int32_t index) { return index >= 0 && static_cast<size_t>(index) < modes.size(); };

  if (config->IsWindowed()) {
    modeIndex = config->GetDesktopModeIndex();
    if (!validMode(modeIndex)) {
      // No desktop mode to share: a window is impossible on this adapter.
      modeIndex = -1;
      config->SetWindowed(false);
      config->SetWindowedAllowed(false);
    } else {
      const C3DModeEntry& desktop = modes[static_cast<size_t>(modeIndex)];
      DisplaySettings trial = *config->GetDisplaySettings();
      trial.adapter = 0;
      trial.windowed = 1;
      trial.channelBits[0] = static_cast<int32_t>(desktop.redBits);
      trial.channelBits[1] = static_cast<int32_t>(desktop.greenBits);
      trial.channelBits[2] = static_cast<int32_t>(desktop.blueBits);
      trial.channelBits[3] = static_cast<int32_t>(desktop.alphaBits);
      trial.channelBits[4] = static_cast<int32_t>(desktop.xBits);
      trial.multiSampleType = 0;
      trial.backBufferCount = 1;
      if (FindDepthFormat(graphics, &trial)) {
        config->SetModeFormat(trial.channelBits[0], trial.channelBits[1], trial.channelBits[2],
                              trial.channelBits[3], trial.channelBits[4]);
        if (!FindDepthFormat(graphics, config->GetDisplaySettings())) {
          config->SetWindowed(false);
          config->SetWindowedAllowed(false);
        }
      }
    }
  }

  if (!config->IsWindowed()) {
    const int32_t width = config->GetWidth();
    const int32_t height = config->GetHeight();
    size_t start = std::size(kStandardSizes);
    for (size_t k = 0; k < std::size(kStandardSizes); ++k) {
      if (kStandardSizes[k].width == width && kStandardSizes[k].height == height) start = k;
    }
    if (start < std::size(kStandardSizes)) {
      modeIndex = -1;
      for (size_t k = start; k < std::size(kStandardSizes) && modeIndex < 0; ++k) {
        modeIndex = FindMode(kStandardSizes[k].width, kStandardSizes[k].height, 32);
        if (modeIndex < 0) modeIndex = FindMode(kStandardSizes[k].width, kStandardSizes[k].height, 16);
      }
    }
  }

  if (!validMode(modeIndex)) {
    ReportGraphicsFailure(kNoModeMessage);
    FreeAdapters(graphics);
    RollBackPhysics(table);
    return status::Fail;
  }

  const C3DModeEntry& mode = modes[static_cast<size_t>(modeIndex)];
  config->SetModeFormat(static_cast<int32_t>(mode.redBits), static_cast<int32_t>(mode.greenBits),
                        static_cast<int32_t>(mode.blueBits), static_cast<int32_t>(mode.alphaBits),
                        static_cast<int32_t>(mode.xBits));
  graphics->SetWindow(table->window);

  bool created = false;
  for (const DepthFormat& format : kDepthFormats) {
    config->SetDepthFormat(format.depth, format.stencil, format.padding);
    const DisplaySettings* block = config->GetDisplaySettings();
    if (graphics->CheckMode(block) && status::Succeeded(graphics->CreateDevice(block))) {
      created = true;
      break;
    }
  }
  if (!created) {
    ReportGraphicsFailure(kNoPixelFormatMessage);
    FreeAdapters(graphics);
    RollBackPhysics(table);
    return status::Fail;
  }

  config->SaveDisplaySettings();
  graphics->RenderFrame();
  table->UpdateClientRect();
  return status::Ok;
}

CoreStatus cCore_LibraryManager::RestartServices(uint32_t mask, cCore_ConfigManager* config,
                                                 cCore_GlobalWrapper* table) {
  if (!config || !table) return status::Fail;
  holdGraphicsMessages_ = true;
  heldGraphicsMessage_.clear();
  const CoreStatus started = Init(mask, config, table);
  holdGraphicsMessages_ = false;
  if (status::Succeeded(started)) return started;

  // Back to the mode that ran before.
  config->RestoreDisplaySettings();
  if (table->graphics) {
    // The device was never touched: the old mode still runs.
    platform::OutputDebugString("[cCore_LibraryManager::RestartServices] restart refused, old mode kept\n");
    return kPreviousModeKept;
  }
  auto* graphics = dynamic_cast<Core3D*>(FindInstance(eService_Graphics));
  if (graphics && graphics->Init()) {
    table->SetGraphics(graphics);
    adapters_ = nullptr;
    adapterCount_ = 0;
    if (status::Succeeded(ServiceInitGraphics(table, config))) {
      platform::OutputDebugString(
          "[cCore_LibraryManager::RestartServices] the new display mode failed; the previous mode was restored\n");
      return kPreviousModeKept;
    }
    // ServiceInitGraphics has shown its message and emptied the slot.
    return status::Fail;
  }
  // The renderer could not start again at all: say why the program stops.
  platform::MessageBox(heldGraphicsMessage_.empty() ? kNoModeMessage : heldGraphicsMessage_, "Error",
                       platform::MB_OK);
  return status::Fail;
}

bool cCore_LibraryManager::LoadPhysics(cCore_GlobalWrapper* table) {
  auto* physics = dynamic_cast<CorePhysics*>(FindInstance(eService_Physics));
  if (!physics || !physics->Init()) return false;
  table->SetPhysics(physics);
  return true;
}

bool cCore_LibraryManager::LoadInterface(cCore_GlobalWrapper* table) {
  auto* module = dynamic_cast<CoreInterface*>(FindInstance(eService_Interface));
  if (!module) return false;
  module->SetClientRect(table->clientRect);
  module->SetGraphics(table->graphics);
  module->SetPhysics(table->physics);
  module->SetInput(table->input);
  module->SetSound(table->sound);
  module->SetEntityManager(table->entityManager);
  module->SetActionFactory(table->actionFactory);
  if (!module->Init()) return false;
  table->SetInterface(module);
  return true;
}

bool cCore_LibraryManager::LoadGUI(cCore_GlobalWrapper* table) {
  auto* gui = dynamic_cast<Panelis*>(FindInstance(eService_GUI));
  if (!gui) return false;
  // Addresses of the table's slots, so the GUI always reads current values.
  gui->SetWrapperBlockRef(&table->clientRect);
  gui->SetRendererRef(&table->graphics);
  gui->SetPhysicsRef(&table->physics);
  gui->SetInputRef(&table->input);
  gui->SetSoundRef(&table->sound);
  gui->SetEntityManagerRef(&table->entityManager);
  gui->SetActionFactoryRef(&table->actionFactory);
  gui->SetLanguageManagerRef(&table->languageManager);
  if (!gui->Init()) return false;
  table->SetGUI(gui);
  return true;
}

void cCore_LibraryManager::RollBackInput(cCore_GlobalWrapper* table) {
  if (table && table->sound) table->sound->ClearConfig();
}

void cCore_LibraryManager::RollBackGraphics(cCore_GlobalWrapper* table) { RollBackInput(table); }

void cCore_LibraryManager::RollBackPhysics(cCore_GlobalWrapper* table) {
  if (table && table->graphics) {
    Core3D* graphics = table->graphics;
    graphics->ClearConfig();
    graphics->ReleaseDevice();
    graphics->Shutdown();
    table->SetGraphics(nullptr);
    // The renderer's shutdown took its adapter list with it.
    adapters_ = nullptr;
    adapterCount_ = 0;
  }
  RollBackGraphics(table);
}

void cCore_LibraryManager::RollBackInterface(cCore_GlobalWrapper* table) { RollBackPhysics(table); }
void cCore_LibraryManager::RollBackGUI(cCore_GlobalWrapper* table) { RollBackInterface(table); }
void cCore_LibraryManager::RollBackReserved(cCore_GlobalWrapper* table) { RollBackGUI(table); }
void cCore_LibraryManager::RollBackAll(cCore_GlobalWrapper* table) { RollBackReserved(table); }

void cCore_LibraryManager::Shutdown(cCore_GlobalWrapper* table) {
  RollBackAll(table);
  for (ClassData& entry : classes_) {
    CoreBase* module = entry.instance;
    if (!module) continue;
    if (table) {
      // No slot of the table may outlive its module.
      if (static_cast<CoreBase*>(table->sound) == module) table->SetSound(nullptr);
      if (static_cast<CoreBase*>(table->input) == module) table->SetInput(nullptr);
      if (static_cast<CoreBase*>(table->physics) == module) table->SetPhysics(nullptr);
      if (static_cast<CoreBase*>(table->interfaceModule) == module) table->SetInterface(nullptr);
      if (static_cast<CoreBase*>(table->gui) == module) table->SetGUI(nullptr);
    }
    module->Shutdown();
    delete module;
    entry.instance = nullptr;
  }
  // The descriptors live in the libraries about to go.
  classes_.clear();
  for (DLLData& library : libraries_) ReleaseLibrary(library);
}
