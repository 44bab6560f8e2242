// The input service's per-frame cost: one Update with a number of records
// waiting in the system queue. The devices take what their buffers hold (64
// key events, 32 mouse events a frame); what does not fit is lost to
// overflow, as the system device reports.
#include <benchmark/benchmark.h>

#include <cstdint>

#include "engine/entity/InputSocketManager.h"
#include "input/DeviceManager.h"
#include "platform/Clock.h"
#include "platform/window/KeyCodes.h"
#include "platform/window/SystemEvents.h"
#include "platform/window/Window.h"

namespace {

platform::LRESULT Proc(platform::HWND hwnd, uint32_t message, platform::WPARAM wParam, platform::LPARAM lParam) {
  return platform::DefWindowProc(hwnd, message, wParam, lParam);
}

class CountingReceiver : public cCore_Base_InputMGR {
 public:
  CoreStatus OnMousePacket(MousePacket* packet) override {
    ++packets;
    sum += static_cast<uint32_t>(packet->x) + packet->timeStamp;
    return status::Ok;
  }
  CoreStatus OnKeyPacket(KeyboardPacket* packet) override {
    ++packets;
    sum += packet->scanCode + packet->modifiers;
    return status::Ok;
  }
  uint64_t packets = 0;
  uint64_t sum = 0;
};

void Raise(platform::SystemEvent e, uint32_t time) {
  e.hasTime = true;
  e.time = time;
  platform::RaiseSystemEvent(e);
}

// Half key events (a key going down and up), half mouse motion, in
// alternation, stamped one millisecond apart.
void QueueRecords(int64_t count, uint32_t* time) {
  platform::SystemEvent key;
  key.kind = platform::SystemEventKind::Key;
  platform::SystemEvent move;
  move.kind = platform::SystemEventKind::MouseMove;
  move.dx = 3;
  for (int64_t i = 0; i < count; ++i) {
    if (i % 2) {
      key.dik = static_cast<uint8_t>(platform::DIK_Q + (i / 2) % 8);
      key.down = (i / 2) % 2 == 0;
      Raise(key, ++*time);
    } else {
      move.dx = -move.dx;
      Raise(move, ++*time);
    }
  }
  platform::MSG msg;
  while (platform::PeekMessage(&msg, nullptr, 0, 0, platform::PM_REMOVE)) platform::DispatchMessage(&msg);
}

void BM_InputFrame(benchmark::State& state) {
  platform::TestClock clock;
  if (platform::InitWindowSystem(platform::WindowBackend::Headless) != status::Ok) {
    state.SkipWithError("no window layer");
    return;
  }
  platform::WNDCLASS wc;
  wc.lpfnWndProc = Proc;
  wc.lpszClassName = "InputBench";
  platform::RegisterClass(wc);
  platform::HWND hwnd = platform::CreateWindowEx(0, "InputBench", "bench", platform::WS_THICKFRAME, 0, 0, 808, 627,
                                                 nullptr, nullptr, nullptr, nullptr);
  platform::ShowWindow(hwnd, platform::SW_SHOW);
  {
    cDX8_DeviceManager manager;
    CountingReceiver receiver;
    if (manager.Init(hwnd, nullptr, nullptr) != status::Ok) {
      state.SkipWithError("the devices did not start");
    } else {
      manager.SetReceiver(&receiver);
      uint32_t time = 0;
      for (auto _ : state) {
        state.PauseTiming();
        QueueRecords(state.range(0), &time);
        state.ResumeTiming();
        benchmark::DoNotOptimize(manager.Update(0.016f));
      }
      benchmark::DoNotOptimize(receiver.sum);
      state.counters["packets/frame"] =
          benchmark::Counter(static_cast<double>(receiver.packets) / static_cast<double>(state.iterations()));
    }
  }
  platform::ShutdownWindowSystem();
}
BENCHMARK(BM_InputFrame)->Arg(0)->Arg(1000)->Unit(benchmark::kMicrosecond);

}  // namespace
