#include "screens/ActionOptionsMenu.h"

#include <algorithm>
#include <cstdio>

#include "base/StringUtil.h"
#include "engine/config/ConfigManager.h"
#include "engine/entity/EntityManager.h"
#include "engine/services/C3DBaseShader.h"
#include "engine/services/Core3D.h"
#include "engine/services/GlobalWrapper.h"
#include "engine/services/Panelis.h"
#include "game/Skyvane.h"
#include "game/world/KV9WeatherManager.h"
#include "game/world/TerrainManager.h"
#include "gui/core/GUICheckBox.h"
#include "gui/core/GUIScrollBar.h"
#include "gui/core/GUIStaticText.h"
#include "gui/core/GUIWorld.h"
#include "platform/DebugOutput.h"
#include "platform/MessageBox.h"
#include "platform/window/Window.h"
#include "scene/AudioManager.h"
#include "scene/ParticleFactoryManager.h"
#include "screens/ScreenCommand.h"
#include "screens/ScreenWidgets.h"
#include "simulation/AmbientManager.h"
#include "simulation/EventManager.h"

namespace {

constexpr const char* kScreen = "ActionOptionsMenu";
constexpr uint32_t kShaderFlags = 8;
constexpr int32_t kDefaultVolume = 190;
constexpr int32_t kDefaultAmbientLimit = 15;
constexpr int32_t kSmallestTexture = 256;
constexpr float kRowPitch = 0.44921875f;
// The first start's window width and texture size where no application tells
// them (a screen tested without one).
constexpr int32_t kFirstStartWidth = 800;
constexpr int32_t kFirstStartTexture = 512;

// The world-detail boxes of section "App", with the configuration names.
struct DetailBox {
  const char* box;
  const char* setting;
};
constexpr DetailBox kDetailBoxes[] = {
    {"chkOMHelper", "HelperCharacter"}, {"chkOMDayNight", "Day\\NightCycle"}, {"chkOMParticles", "Particles"},
    {"chkOMSnow", "SnowAccumulation"},  {"chkOMAutosave", "Autosave"},
};

// The autopause rows: the two masters first, then the eleven event boxes
// in the order the event manager keeps its switches.
struct AutopauseRow {
  const char* box;
  const char* setting;
  const char* toggle;
  bool byDefault;
};
constexpr AutopauseRow kAlwaysSlow = {"chkAPAlwaysSlow", "AlwaysSlow", "ToggleAlwaysSlow", false};
constexpr AutopauseRow kNeverSlow = {"chkAPNeverSlow", "NeverSlow", "ToggleNeverSlow", false};
constexpr AutopauseRow kEventRows[AutoslowFlags::kHappenings] = {
    {"chkAPPlaneLanding", "SlowOnPlaneLanding", "TogglePlaneLanding", true},
    {"chkAPPlaneTakeoff", "SlowOnPlaneTakeoff", "TogglePlaneTakeoff", false},
    {"chkAPVehicleArrive", "SlowOnVehicleArrive", "ToggleVehicleArrive", false},
    {"chkAPVehicleLeave", "SlowOnVehicleLeave", "ToggleVehicleLeave", false},
    {"chkAPEmergency", "SlowOnEmergency", "ToggleEmergency", true},
    {"chkAPSecurity", "SlowOnSecurity", "ToggleSecurity", true},
    {"chkAPSafety", "SlowOnSafety", "ToggleSafety", true},
    {"chkAPFlightDelay", "SlowOnFlightDelay", "ToggleFlightDelay", false},
    {"chkAPFlightCancel", "SlowOnFlightCancel", "ToggleFlightCancel", false},
    {"chkAPContractOffer", "SlowOnContractOffer", "ToggleContractOffer", true},
    {"chkAPContractRenew", "SlowOnContractRenew", "ToggleContractRenew", true},
};

const char* TrueFalse(bool on) { return on ? "true" : "false"; }

std::string Format(const char* format, int32_t a, int32_t b) {
  char text[64];
  std::snprintf(text, sizeof(text), format, a, b);
  return text;
}

// "1024 768" -> "1024 x 768".
std::string WithTimes(const std::string& value) {
  std::string out;
  for (char c : value) {
    if (c == ' ') out += " x ";
    else out += c;
  }
  return out;
}

// The largest n with 2^n <= max (0 for max 0).
int32_t LargestExponent(uint32_t max) {
  int32_t n = 0;
  while (n < 31 && (uint32_t{1} << (n + 1)) <= max) ++n;
  return n;
}

float VolumeOf(int32_t value) { return value > 0 ? static_cast<float>(value) / 255.0f : 0.0f; }

}  // namespace

ActionOptionsMenu::ActionOptionsMenu(cCore_GlobalWrapper* table)
    : cAction_Base("OptionsMenu"), base_(table), table_(dynamic_cast<cKV9_GlobalWrapper*>(table)) {}

CoreStatus ActionOptionsMenu::Execute(cEntity_Base*, uintptr_t, const std::string& params) {
  if (!table_ || params.empty()) return screens::kNotHandled;
  const screens::Command command = screens::CutCommand(params, screens::kBlank);
  if (command.Is("ApplySettings")) {
    ApplySettings();
    return status::Ok;
  }
  if (command.Is("ApplyAutopauseSettings")) {
    ApplyAutopauseSettings();
    return screens::kNotHandled;
  }
  if (command.Is("SetDefaultEvents")) {
    SetDefaultEvents();
    return screens::kNotHandled;
  }
  if (command.Is("SetDefaultOptions")) {
    SetDefaultOptions();
    return screens::kNotHandled;
  }
  if (command.Is("LoadSettings")) {
    LoadSettings();
    return status::Ok;
  }
  if (command.Is("LoadAutopauseSettings")) {
    LoadAutopauseSettings();
    return status::Ok;
  }
  if (command.Is(kAlwaysSlow.toggle) || command.Is(kNeverSlow.toggle)) {
    ToggleMaster(command.Is(kAlwaysSlow.toggle));
    return status::Ok;
  }
  for (int row = 0; row < AutoslowFlags::kHappenings; ++row) {
    if (command.Is(kEventRows[row].toggle)) {
      ToggleEventRow(row);
      return status::Ok;
    }
  }
  return screens::kNotHandled;
}

// Display and sound.

void ActionOptionsMenu::ApplySettings() {
  Panelis* gui = table_->gui;
  cCore_ConfigManager* config = table_->configManager;
  if (!config) return;
  int32_t width = 640;
  int32_t height = 480;
  auto* resBoxes = screens::FindWidget<GUIEntity>(gui, "gOMResBoxes", kScreen);
  auto* hi = screens::FindChildWidget<GUICheckBox>(resBoxes, "chkOMHiRes", kScreen);
  auto* med = screens::FindChildWidget<GUICheckBox>(resBoxes, "chkOMMedRes", kScreen);
  if (hi && hi->IsChecked()) {
    width = 1024;
    height = 768;
  } else if (med && med->IsChecked()) {
    width = 800;
    height = 600;
  }
  if (width != rememberedWidth && height != rememberedHeight) ApplyResolution(width, height);

  ApplyTextureSize();

  for (const DetailBox& detail : kDetailBoxes) {
    auto* box = screens::FindWidget<GUICheckBox>(gui, detail.box, kScreen);
    if (!box) continue;
    const bool on = box->IsChecked();
    config->SetValue("App", detail.setting, TrueFalse(on));
    if (std::string(detail.box) == "chkOMDayNight") {
      if (auto* weather = dynamic_cast<cKV9_WeatherManager*>(table_->weatherManager)) weather->SetDayNightCycle(on);
    } else if (std::string(detail.box) == "chkOMParticles") {
      if (table_->particleFactoryManager) table_->particleFactoryManager->SetEnabled(on);
    }
  }

  auto* sliders = screens::FindWidget<GUIEntity>(gui, "grpOMSliders", kScreen);
  if (auto* music = screens::FindChildWidget<GUIScrollBar>(sliders, "sbOMMusicVolume", kScreen)) {
    config->SetValue("App", "MusicVolume", std::to_string(music->GetValue()));
    SetManagerVolume(true, music->GetValue());
  }
  if (auto* sound = screens::FindChildWidget<GUIScrollBar>(sliders, "sbOMSoundVolume", kScreen)) {
    config->SetValue("App", "SoundVolume", std::to_string(sound->GetValue()));
    SetManagerVolume(false, sound->GetValue());
  }
  if (table_->ambientManager)
    config->SetValue("App", "AmbientLimit", std::to_string(table_->ambientManager->ambientLimit));
  settingsSaved_ = status::Succeeded(config->SaveToFile(configFile));
  if (!settingsSaved_) {
    platform::DebugPrintf("[%s] cannot write %s\n", kScreen, configFile.c_str());
    platform::MessageBox("Your settings could not be saved: \"" + configFile +
                             "\" cannot be written. They stay in use until the game ends.",
                         cSkyvane::kCaption, platform::MB_OK | platform::MB_ICONWARNING);
  }
}

void ActionOptionsMenu::ApplyResolution(int32_t width, int32_t height) {
  cCore_ConfigManager* config = table_->configManager;
  const int32_t keptWidth = config->GetWidth();
  const int32_t keptHeight = config->GetHeight();
  config->SetWindowSize(width, height);
  Core3D* renderer = table_->graphics;
  if (!renderer || !renderer->ResetDevice(config->GetDisplaySettings())) {
    config->SetWindowSize(keptWidth, keptHeight);
    return;
  }
  if (table_->application) {
    // The application also pins its window to the new size.
    table_->application->PlaceMainWindow();
  } else {
    platform::RECT work{};
    platform::SystemParametersInfo(platform::SPI_GETWORKAREA, 0, &work, 0);
    const int32_t frameX = platform::GetSystemMetrics(platform::SM_CXFRAME);
    const int32_t frameY = platform::GetSystemMetrics(platform::SM_CYFRAME);
    const int32_t caption = platform::GetSystemMetrics(platform::SM_CYCAPTION);
    const int32_t x = static_cast<int32_t>((work.right - work.left - 2 * frameX - width) * 0.5);
    const int32_t y = static_cast<int32_t>((work.bottom - work.top - 2 * frameY - height - caption) * 0.5);
    if (table_->window)
      platform::SetWindowPos(table_->window, platform::HWND_NOTOPMOST, x, y, width + 2 * frameX,
                             height + caption + 2 * frameY, platform::SWP_SHOWWINDOW);
  }
  table_->UpdateClientRect();
  if (table_->gui) table_->gui->UpdateCamera();
  config->SetValue("Graphics", "Resolution", Format("%d %d", width, height));
  rememberedWidth = width;
  rememberedHeight = height;
}

void ActionOptionsMenu::ApplyTextureSize() {
  auto* group = screens::FindWidget<GUIEntity>(table_->gui, "grpOMTexture", kScreen);
  if (!group) return;
  GUICheckBox* checked = nullptr;
  for (int32_t i = 0; i < group->GetChildCount() && !checked; ++i) {
    auto* box = dynamic_cast<GUICheckBox*>(group->GetChild(i));
    if (box && box->GetKind() == GUIKIND_CHECKBOX && box->IsChecked()) checked = box;
  }
  if (!checked) return;
  std::string labelName = checked->GetName();
  if (str::StartsWithNoCase(labelName, "chk")) labelName.replace(0, 3, "stt");
  // A row whose label could not be made has no size to apply.
  auto* label = screens::FindChildWidget<GUIStaticText>(group, labelName, kScreen);
  if (!label) return;
  const int32_t size = screens::DecimalInt(label->GetText());
  table_->configManager->SetValue("Graphics", "TextureSize", Format("%d %d", size, size));
  if (table_->terrainManager) table_->terrainManager->SetTextureSize(size);
}

void ActionOptionsMenu::SetManagerVolume(bool music, int32_t value) {
  cEntity_AudioManager* audio = table_->audioManager;
  if (!audio) return;
  if (music) audio->SetMusicVolume(VolumeOf(value));
  else audio->SetSoundVolume(VolumeOf(value));
}

void ActionOptionsMenu::LoadSettings() {
  Panelis* gui = table_->gui;
  cCore_ConfigManager* config = table_->configManager;
  if (!config) return;
  std::string resolution;
  if (config->GetString("Graphics", "Resolution", resolution)) resolution = WithTimes(resolution);
  else resolution = Format("%d x %d", config->GetWidth(), config->GetHeight());
  const char* boxName = "chkOMLoRes";
  if (str::EqualsNoCase(resolution, "800 x 600")) {
    boxName = "chkOMMedRes";
    rememberedWidth = 800;
    rememberedHeight = 600;
  } else if (str::EqualsNoCase(resolution, "1024 x 768")) {
    boxName = "chkOMHiRes";
    rememberedWidth = 1024;
    rememberedHeight = 768;
  } else {
    rememberedWidth = 640;
    rememberedHeight = 480;
  }
  auto* resBoxes = screens::FindWidget<GUIEntity>(gui, "gOMResBoxes", kScreen);
  if (auto* box = screens::FindChildWidget<GUICheckBox>(resBoxes, boxName, kScreen)) box->SetChecked(true);

  LoadTextureRows();

  for (const DetailBox& detail : kDetailBoxes) {
    bool on = true;
    config->GetBool("App", detail.setting, on);
    if (auto* box = screens::FindWidget<GUICheckBox>(gui, detail.box, kScreen)) box->SetChecked(on);
    if (std::string(detail.box) == "chkOMDayNight") {
      if (auto* weather = dynamic_cast<cKV9_WeatherManager*>(table_->weatherManager)) weather->SetDayNightCycle(on);
    } else if (std::string(detail.box) == "chkOMParticles") {
      if (table_->particleFactoryManager) table_->particleFactoryManager->SetEnabled(on);
    }
  }

  auto* sliders = screens::FindWidget<GUIEntity>(gui, "grpOMSliders", kScreen);
  const struct {
    const char* bar;
    const char* setting;
    bool music;
  } volumes[] = {{"sbOMMusicVolume", "MusicVolume", true}, {"sbOMSoundVolume", "SoundVolume", false}};
  for (const auto& volume : volumes) {
    auto* bar = screens::FindChildWidget<GUIScrollBar>(sliders, volume.bar, kScreen);
    int32_t value = kDefaultVolume;
    config->GetInt("App", volume.setting, value);
    if (bar) {
      bar->SetSnapThumb(1);
      bar->SetValue(value);
    }
    SetManagerVolume(volume.music, value);
    if (bar) bar->SetSnapThumb(0);
  }

  int32_t limit = kDefaultAmbientLimit;
  config->GetInt("App", "AmbientLimit", limit);
  if (table_->ambientManager) table_->ambientManager->ambientLimit = limit;

  LoadAutopauseSettings();
}

void ActionOptionsMenu::LoadTextureRows() {
  Panelis* gui = table_->gui;
  Core3D* renderer = table_->graphics;
  auto* group = screens::FindWidget<GUIEntity>(gui, "grpOMTexture", kScreen);
  if (!gui || !renderer || !group) return;
  const uint32_t max = renderer->ComputeCapability(0);
  const int32_t top = LargestExponent(max);
  std::string setting;
  if (table_->configManager->GetString("Graphics", "TextureSize", setting)) {
    setting = WithTimes(setting);
  } else {
    table_->configManager->SetValue("Graphics", "TextureSize", "256 256");
    setting = "256 x 256";
  }
  if (max < static_cast<uint32_t>(kSmallestTexture)) return;
  const std::string resources = table_->entityManager ? table_->entityManager->GetResourcePath() : std::string();
  GUIWorld* world = gui->GetWorld();
  bool found = false;
  for (int32_t i = 0, n = top;; ++i, --n) {
    const int32_t size = i == 0 ? static_cast<int32_t>(max) : (1 << n);
    if (size < kSmallestTexture) break;
    const std::string boxName = "chkOMTexture" + std::to_string(n);
    const std::string labelName = "sttOMTexture" + std::to_string(n);
    const std::string labelText = Format("%d x %d", size, size);
    if (auto* existing = dynamic_cast<GUICheckBox*>(group->FindChild(boxName))) {
      auto* label = screens::FindChildWidget<GUIStaticText>(group, labelName, kScreen);
      if (!label) break;
      existing->SetChecked(str::EqualsNoCase(label->GetText(), setting));
      continue;
    }
    GUIEntity* made = nullptr;
    if (status::Failed(gui->SpawnWidget(GUIKIND_CHECKBOX, &made)) || !dynamic_cast<GUICheckBox*>(made)) break;
    auto* box = static_cast<GUICheckBox*>(made);
    box->ScaleBy(0.3125f, 0.3125f, 1.0f, true);
    box->SetName(boxName);
    for (int state = 0; state < 2; ++state) {
      const char* file = state == 0 ? "Interface\\Common\\x_button_uns.jsm" : "Interface\\Common\\x_button_sel.jsm";
      C3DBaseShader* shader = renderer->CreateShader(kShaderFlags, resources + file);
      box->SetStateShader(state, shader);
      if (shader) shader->Release();  // the box holds its own reference
    }
    box->MoveBy(0.0f, 0.0390625f - kRowPitch * static_cast<float>(i), 0.0f, true);
    box->SetChecked(false);
    box->UpdateBounds();
    box->Initialize();
    group->AddChild(box, true);
    box->SetParent(group);

    made = nullptr;
    auto* label = status::Succeeded(gui->SpawnWidget(GUIKIND_STATICTEXT, &made))
                      ? dynamic_cast<GUIStaticText*>(made) : nullptr;
    if (label) {
      label->SetName(labelName);
      label->SetFont(world ? world->GetDefaultFont() : nullptr);
      label->MoveBy(-0.125f, 0.09765625f - kRowPitch * static_cast<float>(i), 0.0f, true);
      label->SetTextScale(0.375f, 0.4f, 1.0f, true);
      label->SetText(labelText, true);
      label->SetSolid(0);
      label->UpdateBounds();
      label->SetTextAlign(1, true);
      group->AddChild(label, true);
      label->SetParent(group);
    }
    if (str::EqualsNoCase(labelText, setting)) {
      box->Toggle();
      found = true;
      if (table_->terrainManager) table_->terrainManager->SetTextureSize(size);
    } else if (size == kSmallestTexture && !found) {
      box->Toggle();
      if (table_->terrainManager) table_->terrainManager->SetTextureSize(kSmallestTexture);
    }
  }
}

// The defaults are what the first start uses: the window the desktop gives
// and the texture size "base.cfg" sets (the largest row the device offers
// when it cannot take that one).
void ActionOptionsMenu::SetDefaultOptions() {
  Panelis* gui = table_->gui;
  int32_t width = kFirstStartWidth;
  int32_t texture = kFirstStartTexture;
  if (const cSkyvane* application = table_->application) {
    width = application->GetSettingsCheck().FirstStartWidth();
    texture = application->GetSettingsCheck().FirstStartTextureSize();
  }
  auto* resBoxes = screens::FindWidget<GUIEntity>(gui, "gOMResBoxes", kScreen);
  const struct {
    const char* box;
    int32_t width;
  } resolutions[] = {{"chkOMLoRes", 640}, {"chkOMMedRes", 800}, {"chkOMHiRes", 1024}};
  for (const auto& r : resolutions) {
    if (auto* box = screens::FindChildWidget<GUICheckBox>(resBoxes, r.box, kScreen)) box->SetChecked(r.width == width);
  }
  auto* group = screens::FindWidget<GUIEntity>(gui, "grpOMTexture", kScreen);
  if (group && table_->graphics) {
    const int32_t top = LargestExponent(table_->graphics->ComputeCapability(0));
    const int32_t wanted = std::min(LargestExponent(static_cast<uint32_t>(texture)), top);
    for (int32_t n = top; n >= 8; --n) {
      auto* box = screens::FindChildWidget<GUICheckBox>(group, "chkOMTexture" + std::to_string(n), kScreen);
      if (box) box->SetChecked(n == wanted);
    }
  }
  for (const DetailBox& detail : kDetailBoxes) {
    if (auto* box = screens::FindWidget<GUICheckBox>(gui, detail.box, kScreen)) box->SetChecked(true);
  }
  auto* sliders = screens::FindWidget<GUIEntity>(gui, "grpOMSliders", kScreen);
  for (const char* name : {"sbOMMusicVolume", "sbOMSoundVolume"}) {
    if (auto* bar = screens::FindChildWidget<GUIScrollBar>(sliders, name, kScreen)) {
      bar->SetSnapThumb(1);
      bar->SetValue(kDefaultVolume);
      bar->SetSnapThumb(0);
    }
  }
}

// Autopause.

void ActionOptionsMenu::LoadAutopauseSettings() {
  Panelis* gui = table_->gui;
  cCore_ConfigManager* config = table_->configManager;
  if (!config) return;
  auto load = [&](const AutopauseRow& row) {
    bool on = false;
    config->GetBool("Autoslow", row.setting, on);
    if (auto* box = screens::FindWidget<GUICheckBox>(gui, row.box, kScreen)) box->SetChecked(on);
    return on;
  };
  for (const AutopauseRow& row : kEventRows) load(row);
  const bool always = load(kAlwaysSlow);
  const bool never = load(kNeverSlow);
  // Per-event mode needs the event boxes usable again, also after a load
  // that follows a master mode.
  SetEventBoxesEnabled(!always && !never);
}

void ActionOptionsMenu::CancelAutopauseSettings() {
  LoadAutopauseSettings();
  cCore_ConfigManager* config = table_->configManager;
  cEntity_EventManager* events = table_->eventManager;
  if (!config || !events) return;
  auto stored = [&](const AutopauseRow& row) {
    bool on = false;
    config->GetBool("Autoslow", row.setting, on);
    return static_cast<uint8_t>(on ? 1 : 0);
  };
  events->autoslow.alwaysSlow = stored(kAlwaysSlow);
  events->autoslow.neverSlow = stored(kNeverSlow);
  for (int row = 0; row < AutoslowFlags::kHappenings; ++row) events->autoslow.happening[row] = stored(kEventRows[row]);
}

void ActionOptionsMenu::ApplyAutopauseSettings() {
  Panelis* gui = table_->gui;
  cCore_ConfigManager* config = table_->configManager;
  if (!config) return;
  auto apply = [&](const AutopauseRow& row) {
    if (auto* box = screens::FindWidget<GUICheckBox>(gui, row.box, kScreen))
      config->SetValue("Autoslow", row.setting, TrueFalse(box->IsChecked()));
  };
  apply(kAlwaysSlow);
  apply(kNeverSlow);
  for (const AutopauseRow& row : kEventRows) apply(row);
}

void ActionOptionsMenu::SetDefaultEvents() {
  Panelis* gui = table_->gui;
  for (const AutopauseRow& row : kEventRows) {
    if (auto* box = screens::FindWidget<GUICheckBox>(gui, row.box, kScreen)) box->SetChecked(row.byDefault);
  }
  for (const AutopauseRow* row : {&kAlwaysSlow, &kNeverSlow}) {
    if (auto* box = screens::FindWidget<GUICheckBox>(gui, row->box, kScreen)) box->SetChecked(false);
  }
  EnableEventBoxes();
}

void ActionOptionsMenu::ToggleMaster(bool always) {
  Panelis* gui = table_->gui;
  const AutopauseRow& self = always ? kAlwaysSlow : kNeverSlow;
  const AutopauseRow& other = always ? kNeverSlow : kAlwaysSlow;
  auto* box = screens::FindWidget<GUICheckBox>(gui, self.box, kScreen);
  if (!box) return;
  cEntity_EventManager* events = table_->eventManager;
  uint8_t* selfFlag = events ? (always ? &events->autoslow.alwaysSlow : &events->autoslow.neverSlow) : nullptr;
  uint8_t* otherFlag = events ? (always ? &events->autoslow.neverSlow : &events->autoslow.alwaysSlow) : nullptr;
  if (box->IsChecked()) {
    if (auto* otherBox = screens::FindWidget<GUICheckBox>(gui, other.box, kScreen)) otherBox->SetChecked(false);
    if (selfFlag) *selfFlag = 1;
    if (otherFlag) *otherFlag = 0;
    DisableEventBoxes();
  } else {
    if (selfFlag) *selfFlag = 0;
    EnableEventBoxes();
  }
}

void ActionOptionsMenu::ToggleEventRow(int row) {
  auto* box = screens::FindWidget<GUICheckBox>(table_->gui, kEventRows[row].box, kScreen);
  if (box && table_->eventManager) table_->eventManager->autoslow.happening[row] = box->IsChecked() ? 1 : 0;
}

void ActionOptionsMenu::SetEventBoxesEnabled(bool on) {
  if (!table_) return;
  for (const AutopauseRow& row : kEventRows) {
    if (auto* box = screens::FindWidget<GUICheckBox>(table_->gui, row.box, kScreen)) box->SetEnabled(on ? 1 : 0);
  }
}
