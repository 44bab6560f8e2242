// The application's main window, its window procedure and the main loop.
#include "engine/entity/EntityManager.h"
#include "engine/services/Core3D.h"
#include "engine/services/CoreInput.h"
#include "engine/services/GlobalWrapper.h"
#include "engine/services/Panelis.h"
#include "engine/services/SoundMgr.h"
#include "game/Skyvane.h"
#include "platform/Clock.h"
#include "platform/DebugOutput.h"
#include "platform/window/Window.h"

using namespace platform;

namespace {

// CS_VREDRAW | CS_HREDRAW | CS_CLASSDC, and the background brush of system
// colour 5.
constexpr uint32_t kClassStyle = 0x43;
constexpr uintptr_t kBackgroundBrush = 6;
constexpr uint32_t kThickFrame = 0x00040000;

}  // namespace

bool cSkyvane::CreateMainWindow() {
  WNDCLASS wc;
  wc.style = kClassStyle;
  wc.lpfnWndProc = &cSkyvane::WindowProc;
  wc.hInstance = table_ ? table_->instance : nullptr;
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.hbrBackground = kBackgroundBrush;
  wc.lpszClassName = kWindowClass;
  // A second application in one process finds the class registered.
  if (!RegisterClass(wc)) {
    UnregisterClass(kWindowClass, wc.hInstance);
    if (!RegisterClass(wc)) return false;
  }
  int32_t x = 0, y = 0;
  CentreMainWindow(&x, &y);
  window_ = CreateWindowEx(0, kWindowClass, kCaption, kThickFrame, x, y, windowWidth_, windowHeight_, nullptr, nullptr,
                           wc.hInstance, nullptr);
  if (!window_) return false;
  if (table_) table_->SetWindow(window_);
  SetWindowLongPtr(window_, GWLP_USERDATA, reinterpret_cast<intptr_t>(this));
  ShowWindow(window_, SW_SHOW);
  UpdateWindow(window_);
  return true;
}

void cSkyvane::CentreMainWindow(int32_t* x, int32_t* y) {
  RECT area;
  SystemParametersInfo(SPI_GETWORKAREA, 0, &area, 0);
  const int32_t frameX = GetSystemMetrics(SM_CXSIZEFRAME);
  const int32_t frameY = GetSystemMetrics(SM_CYSIZEFRAME);
  const int32_t caption = GetSystemMetrics(SM_CYCAPTION);
  const int32_t width = configManager_.GetWidth();
  const int32_t height = configManager_.GetHeight();
  windowWidth_ = width + 2 * frameX;
  windowHeight_ = height + 2 * frameY + caption;
  *x = static_cast<int32_t>((area.right - area.left - 2 * frameX - width) * 0.5);
  *y = static_cast<int32_t>((area.bottom - area.top - 2 * frameY - height - caption) * 0.5);
}

void cSkyvane::PlaceMainWindow() {
  if (!window_) return;
  int32_t x = 0, y = 0;
  CentreMainWindow(&x, &y);
  SetWindowPos(window_, HWND_NOTOPMOST, x, y, windowWidth_, windowHeight_, SWP_SHOWWINDOW);
}

LRESULT cSkyvane::WindowProc(HWND hwnd, uint32_t message, WPARAM wParam, LPARAM lParam) {
  auto* application = reinterpret_cast<cSkyvane*>(GetWindowLongPtr(hwnd, GWLP_USERDATA));
  if (!application) return DefWindowProc(hwnd, message, wParam, lParam);
  return application->HandleMessage(hwnd, message, wParam, lParam);
}

LRESULT cSkyvane::HandleMessage(HWND hwnd, uint32_t message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SIZE:
      active_ = (wParam == SIZE_MINIMIZED || wParam == SIZE_MAXHIDE) ? 0 : 1;
      break;
    case WM_ACTIVATE:
      if (LOWORD(wParam) != WA_INACTIVE) {
        if (table_ && table_->input) table_->input->Reacquire();
        active_ = 1;
      } else {
        active_ = 0;
      }
      break;
    case WM_CLOSE:
      DestroyWindow(hwnd);
      if (hwnd == window_) window_ = nullptr;
      PostQuitMessage(0);
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_SETCURSOR:
      if (active_ && initialised_) {
        SetCursor(nullptr);
        return 1;
      }
      break;
    case WM_GETMINMAXINFO:
      if (auto* info = reinterpret_cast<MINMAXINFO*>(lParam)) {
        info->ptMinTrackSize = POINT{windowWidth_, windowHeight_};
        info->ptMaxTrackSize = POINT{windowWidth_, windowHeight_};
      }
      break;
    case WM_SYSKEYUP:
      // A toggle that could start a device in neither mode has shown why and
      // left nothing to draw with: quit, through the whole shutdown.
      if (wParam == VK_RETURN && table_ && status::Failed(configManager_.ToggleDisplayMode(table_)) &&
          !table_->graphics) {
        failure_ = "the display could not be started again in either mode";
        OutputDebugString("[cSkyvane] " + failure_ + "\n");
        PostQuitMessage(1);
      }
      break;
    case WM_SYSCOMMAND:
      if ((wParam == SC_SIZE || wParam == SC_MOVE || wParam == SC_MAXIMIZE || wParam == SC_MONITORPOWER) &&
          !configManager_.IsWindowed())
        return 1;
      break;
    case WM_HOTKEY:
      if (active_ && table_) table_->UpdateClientRect();
      break;
    default:
      break;
  }
  return DefWindowProc(hwnd, message, wParam, lParam);
}

int32_t cSkyvane::Run() {
  active_ = 1;
  ShowRatingScreen(true);
  MSG msg;
  for (;;) {
    bool got = false;
    if (active_ || frameHook_) {
      got = PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE) != 0;
    } else {
      const BOOL result = GetMessage(&msg, nullptr, 0, 0);
      if (result < 0) {
        // Nothing could ever wake an inactive headless run.
        OutputDebugString("[cSkyvane::Run] inactive with no message source left; quitting\n");
        msg.message = WM_QUIT;
        msg.wParam = static_cast<WPARAM>(1);
      }
      got = true;
    }
    if (got) {
      if (msg.message == WM_QUIT) break;
      TranslateMessage(&msg);
      DispatchMessage(&msg);
      continue;
    }
    if (active_ && initialised_) {
      RunFrame();
    } else if (frameHook_) {
      frameHook_();
    }
  }
  gameManager_.Terminate();
  return static_cast<int32_t>(static_cast<intptr_t>(msg.wParam));
}

void cSkyvane::RunFrame() {
  if (frameHook_) frameHook_();
  if (!table_) return;
  const float dt = gameManager_.GetFrameTime();
  auto render = [this]() {
    g_mainFrameRenderInProgress = true;
    if (!g_loadingFrameInProgress && table_->graphics) {
      table_->graphics->Update(gameManager_.GetFrameTime());
      table_->graphics->RenderFrame();
    }
    g_mainFrameRenderInProgress = false;
  };
  if (!splash_) {
    if (table_->input) table_->input->Update(dt);
    if (table_->sound) table_->sound->Update(dt);
    if (table_->gui) table_->gui->Update(dt);
    gameManager_.Update();
    render();
    if (table_->entityManager) table_->entityManager->Update(gameManager_.GetFrameTime());
    ++gameFrames_;
    if (frameLimit_ && gameFrames_ == frameLimit_) PostQuitMessage(0);
    return;
  }
  if (rating_ && table_->input) table_->input->Update(dt);
  if (table_->gui) table_->gui->Update(dt);
  render();
  if (table_->entityManager) table_->entityManager->Update(dt);
  if (rating_ && GetTickCount() - ratingStart_ >= kRatingMilliseconds) {
    rating_ = 0;
    if (table_->gui) table_->gui->DestroyWorld();
    StartLoading();
  }
}
