// The metrics overlay: its objects through the device's life, its report
// on the test clock, the share bar's colours, and its pixels on gl.
#include <gtest/gtest.h>

#include <cstdio>

#include "platform/Clock.h"
#include "platform/DebugOutput.h"
#include "renderer/tests/GlResourceTestUtil.h"
#include "renderer/tests/RendererTestUtil.h"

namespace {

// A prepare hook that spends test-clock time inside the frame.
class Spend : public C3DEntity {
 public:
  explicit Spend(platform::TestClock* clock) : clock_(clock) {}
  void OnPassPrepare(C3DPass*) override { clock_->AdvanceMicroseconds(microseconds); }
  void OnPassFinish(C3DPass*) override { clock_->AdvanceMicroseconds(microseconds); }
  int64_t microseconds = 10'000;

 private:
  platform::TestClock* clock_;
};

class MetricsOverlay : public rtest::RecordRenderer {
 protected:
  // One frame: `inside` ms spent in the frame's drawing, `after` ms after it.
  void Frame(int64_t insideMs, int64_t afterMs) {
    spend.microseconds = insideMs * 1000;
    ASSERT_EQ(renderer.RenderFrame(), 0);
    clock.AdvanceMicroseconds(afterMs * 1000);
  }
  platform::TestClock clock;
  Spend spend{&clock};
};

TEST_F(MetricsOverlay, ObjectsFollowTheDevice) {
  EXPECT_TRUE(renderer.IsOverlayReady());
  C3DPass* pass = renderer.GetOverlayPass();
  ASSERT_NE(pass, nullptr);
  EXPECT_EQ(pass->GetName(), Lumetra::kMetricsPassName);
  ASSERT_NE(pass->GetPassView(), nullptr);
  // Released with the device; the pass and view stay and are set up again.
  ASSERT_TRUE(renderer.ReleaseDevice());
  EXPECT_FALSE(renderer.IsOverlayReady());
  ASSERT_EQ(renderer.CreateDevice(&mode), 0);
  EXPECT_TRUE(renderer.IsOverlayReady());
  EXPECT_EQ(renderer.GetOverlayPass(), pass);
  EXPECT_EQ(renderer.GetPassCount(), 1);
  // A user who removes the overlay's pass turns the overlay off.
  renderer.RemovePass(0);
  EXPECT_FALSE(renderer.IsOverlayReady());
  renderer.ToggleMetrics();
  EXPECT_EQ(renderer.RenderFrame(), 0);
  renderer.Shutdown();
  EXPECT_EQ(renderer.GetViewCount(), 0);
}

TEST_F(MetricsOverlay, TextQueuedBeforeTheFrameGoesToTheGamesPass) {
  // The overlay's pass comes first (made with the device); text laid out
  // before the frame is drawn in the game's pass, with the game's camera.
  C3DPassDX8* world = ViewedPass();
  C3DFont* font = renderer.CreateFont(RF_BUILTIN, "dos font");
  font->AddText(nullptr, "hello", nullptr);
  C3DPassDX8* overlay = static_cast<C3DPassDX8*>(renderer.GetOverlayPass());
  ASSERT_EQ(renderer.GetPass(0), overlay);
  std::vector<size_t> sizes;
  struct Probe : C3DEntity {
    std::vector<size_t>* sizes;
    void OnPassFinish(C3DPass* p) override { sizes->push_back(static_cast<C3DPassDX8*>(p)->DrawList().size()); }
  } probe;
  probe.sizes = &sizes;
  overlay->SetFinishHook(&probe);
  world->SetFinishHook(&probe);
  ASSERT_EQ(renderer.RenderFrame(), 0);
  EXPECT_EQ(sizes, (std::vector<size_t>{0, 1}));
  overlay->SetFinishHook(nullptr);
  renderer.ReleaseResource(font);
}

TEST_F(MetricsOverlay, ReportOnTheTestClock) {
  C3DPass* world = ViewedPass();
  world->SetPrepareHook(&spend);
  renderer.ToggleMetrics();
  C3DPassDX8* overlay = static_cast<C3DPassDX8*>(renderer.GetOverlayPass());

  // No frame has been timed yet: rate 0, no timing lines, no bar.
  Frame(10, 30);
  EXPECT_EQ(renderer.GetOverlayText(), "  0.0 FPS (  0.0)\n 0P / 0V\n");
  EXPECT_EQ(overlay->DrawList().size(), 1u);  // the text alone

  // The next frames see the previous one: 10 ms of drawing in a frame of
  // 10 ms, then in one of 40 ms.
  float smoothed = 0.0f;
  struct Step {
    float total, graphics;
    const char* timing;
  };
  for (const Step& s : {Step{10, 10, "\n 10.0ms of  10.0ms is 100.0%\n"}, Step{40, 10, "\n 10.0ms of  40.0ms is  25.0%\n"},
                        Step{40, 10, "\n 10.0ms of  40.0ms is  25.0%\n"}}) {
    Frame(10, 30);
    const float fps = 1000.0f / s.total;
    const float k = s.total * 0.001f;
    smoothed += (1.0f - (1.0f - k) * (1.0f - k)) * (fps - smoothed);
    char first[64];
    std::snprintf(first, sizeof first, "%5.1f FPS (%5.1f)\n", fps, smoothed);
    EXPECT_EQ(renderer.GetOverlayText(), std::string(first) + " 0P / 0V\n" + s.timing);
    EXPECT_FLOAT_EQ(renderer.GetSmoothedFrameRate(), smoothed);
    EXPECT_EQ(overlay->DrawList().size(), 2u);  // the bar and the text
  }
  EXPECT_FLOAT_EQ(renderer.GetTotalFrameMs(), 40.0f);
  EXPECT_FLOAT_EQ(renderer.GetGraphicsFrameMs(), 10.0f);
}

TEST_F(MetricsOverlay, FirstLineTracedOnceEvery20002Overlays) {
  platform::ScopedDebugCapture capture;
  // The count is process-wide: find the next trace, then time the one after.
  int calls = 0;
  while (!capture.Contains(" FPS (") && calls < 20003) {
    renderer.DrawMetricsOverlay();
    ++calls;
  }
  ASSERT_TRUE(capture.Contains(" FPS ("));
  capture.Clear();
  for (int i = 0; i < 20001; ++i) renderer.DrawMetricsOverlay();
  EXPECT_FALSE(capture.Contains(" FPS ("));
  renderer.DrawMetricsOverlay();
  EXPECT_EQ(capture.Text(), "  0.0 FPS (  0.0)\n");
}

TEST(MetricBarColour, Bands) {
  struct Case {
    float share;
    uint32_t colour;
  };
  const Case cases[] = {{100, 0xFF40FF40u}, {90, 0xFF40FF40u}, {85, 0xFF9FFF40u}, {80, 0xFF40FF40u},
                        {75, 0xFFFF9F40u},  {70, 0xFFFFFF40u}, {69.9f, 0xFFFF4040u}, {0, 0xFFFF4040u}};
  for (const Case& c : cases) EXPECT_EQ(Lumetra::MetricBarColour(c.share), c.colour) << c.share;
}

// 256 x 192: overlay units are 12.8 pixels, the top edge at y 7.5.
class MetricsOnGl : public gltest::PluginOnGl {
 protected:
  MetricsOnGl() {
    width = 256;
    height = 192;
  }
};

TEST_F(MetricsOnGl, TextAndBarInItsSharesColour) {
  platform::TestClock clock;
  Spend spend(&clock);
  pass->SetFinishHook(&spend);
  renderer->ToggleMetrics();
  // Two frames of 40 ms with 10 ms of drawing each: a share of 25 %.
  for (int i = 0; i < 3; ++i) {
    FrameWith([&](C3DPass*) {});
    clock.AdvanceMicroseconds(30'000);
  }
  // The bar, in the text's space, lies under the first line at the top
  // left: red up to 25 % (pixels 0..24), grey on to 100 % (to 96).
  auto near = [&](int x, int y, uint32_t colour) {
    EXPECT_LE(gltest::ChannelDiff(Pixel(x, y), colour), 8) << x << "," << y << ": " << std::hex << Pixel(x, y);
  };
  near(1, 5, 0xFF4040);
  near(60, 5, 0x808080);
  near(90, 5, 0x808080);
  near(110, 5, 0x000000);
  // The first line's text is drawn in white above the bar.
  int white = 0;
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 128; ++x) white += Pixel(x, y) == 0xFFFFFF;
  EXPECT_GT(white, 20);
  renderer->ToggleMetrics();
}

}  // namespace
