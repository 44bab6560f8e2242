// The two start-up screens: the rating screen and the loading screen that
// runs the loading sequence.
#include "engine/frame/BaseCursor.h"
#include "engine/services/Core3D.h"
#include "engine/services/GlobalWrapper.h"
#include "engine/services/Panelis.h"
#include "game/Skyvane.h"
#include "gui/core/GUIWorld.h"
#include "gui/core/Widget.h"
#include "platform/Clock.h"
#include "platform/DebugOutput.h"
#include "platform/MessageBox.h"
#include "platform/window/Window.h"

namespace {

constexpr uint32_t kScreenShaderFlags = 8;
constexpr const char* kRatingPicture = "Interface\\SplashScreen\\esrb.dds";
constexpr const char* kSplashPicture = "Interface\\SplashScreen\\splashscreen_new.dds";
constexpr const char* kBarPicture = "Interface\\SplashScreen\\loading_button.dds";

// The pictures live under the renderer's resource path.
C3DBaseShader* ScreenShader(Core3D* renderer, const char* picture) {
  return renderer ? renderer->CreateShader(kScreenShaderFlags, renderer->GetResourcePath() + picture) : nullptr;
}

// A plane widget filling the 20 x 15 screen.
void FullScreenPlane(Widget* widget) {
  widget->ScaleBy(20.0f, 15.0f, 1.0f, true);
}

}  // namespace

GUIEntity* cSkyvane::SpawnWidget(int32_t kind) {
  Panelis* gui = table_ ? table_->gui : nullptr;
  GUIEntity* widget = nullptr;
  if (!gui || status::Failed(gui->SpawnWidget(kind, &widget)) || !widget) {
    failure_ = "cannot create widget kind " + std::to_string(kind);
    platform::OutputDebugString("[cSkyvane] " + failure_ + "\n");
    platform::PostQuitMessage(-1);
    return nullptr;
  }
  return widget;
}

GUIWorld* cSkyvane::MakeWorld(bool scaled) {
  auto* world = dynamic_cast<GUIWorld*>(SpawnWidget(GUIKIND_WORLD));
  if (!world) return nullptr;
  Panelis* gui = table_->gui;
  world->SetGUI(gui);
  // The world's own built-in font.
  world->SetDefaultFont(nullptr);
  world->SetName("TheWorld");
  world->MoveBy(-10.0f, 7.5f, 0.0f, true);
  if (scaled) world->SetScale(20.0f, 15.0f, 1.0f, true);
  gui->SetWorld(world);
  return world;
}

Widget* cSkyvane::MakePicture(const char* name, const char* picture) {
  auto* widget = dynamic_cast<Widget*>(SpawnWidget(GUIKIND_STATIC));
  if (!widget) return nullptr;
  widget->SetName(name);
  widget->SetShader(ScreenShader(table_->graphics, picture));
  FullScreenPlane(widget);
  // The pictures fill the top three quarters of their texture.
  widget->SetUV1(0.0f, 0.75f);
  widget->UpdateBounds();
  widget->CreatePlaneModel();
  return widget;
}

void cSkyvane::ShowRatingScreen(bool show) {
  rating_ = show ? 1 : 0;
  Panelis* gui = table_ ? table_->gui : nullptr;
  if (!show) {
    if (gui) gui->DestroyWorld();
    StartLoading();
    return;
  }
  ratingStart_ = platform::GetTickCount();
  if (cEntity_BaseCursor* cursor = gameManager_.GetCursor()) cursor->Hide();

  GUIWorld* world = MakeWorld(true);
  if (!world) return;

  auto* scene = dynamic_cast<Widget*>(SpawnWidget(GUIKIND_SCENE));
  if (!scene) return;
  scene->SetName("ESRBScene");
  FullScreenPlane(scene);
  scene->UpdateBounds();
  scene->CreatePlaneModel();
  world->AddChild(scene, true);

  Widget* graphic = MakePicture("ESRBGraphic", kRatingPicture);
  if (!graphic) return;
  for (const char* event : {"mouse0_click", "mouse1_click", "mouse0_up", "mouse1_up", "keyup"})
    graphic->BindAction(event, "MainMenu", "ClickThroughESRB");
  scene->AddChild(graphic, true);
  world->UpdateTransform();
  gui->SetHoverEntity(graphic);
  gui->SetFocus(graphic);
}

void cSkyvane::StartLoading() {
  if (cEntity_BaseCursor* cursor = gameManager_.GetCursor()) cursor->Hide();
  GUIWorld* world = MakeWorld(false);
  if (!world) return;

  Widget* splash = MakePicture("SplashGraphic", kSplashPicture);
  if (!splash) return;
  world->AddChild(splash, true);

  auto* bar = dynamic_cast<Widget*>(SpawnWidget(GUIKIND_STATIC));
  if (!bar) return;
  bar->SetName("LoadingButton");
  bar->SetShader(ScreenShader(table_->graphics, kBarPicture));
  bar->ScaleBy(2.5f, 0.83984375f, 1.0f, true);
  bar->SetUVCoords(0.0f, 0.0f, 1.0f, 0.3359375f);
  bar->MoveBy(15.95703125f, -11.484375f, 0.01f, true);
  bar->UpdateBounds();
  bar->CreatePlaneModel();
  world->AddChild(bar, true);
  world->UpdateTransform();

  loadingBar_ = bar;
  gameManager_.SetLoadingBar(bar);
  if (status::Failed(gameManager_.InitGameSystem())) ReportLoadingFailure();
}

void cSkyvane::ReportLoadingFailure() {
  // Left alone, the loading screen would stay up for good.
  failure_ = "Loading failed at \"" + gameManager_.GetFailedStepText() + "\": " + gameManager_.GetLoadingFailure();
  ShowFailure(failure_);
  platform::PostQuitMessage(1);
}
