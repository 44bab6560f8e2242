// The renderer's interface and device on the record backend: descriptor and
// names, adapters and modes, mode checks, creation with its fall-backs,
// presentation parameters, capabilities, reset, release and lost devices.
#include <set>
#include <tuple>

#include "RendererTestUtil.h"
#include "platform/DebugOutput.h"
#include "renderer/DisplayFormats.h"
#include "renderer/LumetraDescriptor.h"
#include "platform/window/Window.h"

namespace {

using namespace rtest;

TEST(LumetraDescriptorTest, DescriptorNamesAndCreatesTheRenderer) {
  LumetraDescriptor& d = LumetraDescriptor::Instance();
  EXPECT_STREQ(d.GetName(), "Lumetra");
  EXPECT_STREQ(d.GetDescription(), "DirectX 8.0a Rendering Layer");
  EXPECT_EQ(d.GetVersion(), 1.0f);
  EXPECT_EQ(d.GetBaseAPIVersion(), 1.0f);
  EXPECT_EQ(d.GetServiceType(), eService_Graphics);
  EXPECT_STREQ(kLumetraLibraryDescription, "DirectX 8.0a Graphics API DLL");
  CoreBase* module = d.CreateCoreClass();
  auto* renderer = dynamic_cast<Lumetra*>(module);
  ASSERT_NE(renderer, nullptr);
  EXPECT_STREQ(renderer->GetName(), "[Lumetra]");
  EXPECT_STREQ(renderer->GetDescription(), "DirectX 8.0a Rendering Layer");
  EXPECT_EQ(renderer->GetServiceType(), eService_Graphics);
  EXPECT_EQ(renderer->modelVertexColour, 0xFFFFFFFFu);
  EXPECT_EQ(renderer->userWord, 0u);
  delete module;
}

TEST(DisplayFormatsTest, ChannelWidthsMapToFormatsBothWays) {
  using lumetra::ColourWidths;
  const std::tuple<ColourWidths, uint32_t, bool> cases[] = {
      {{8, 8, 8, 0, 0}, gfx::D3DFMT_R8G8B8, true},   {{8, 8, 8, 8, 0}, gfx::D3DFMT_A8R8G8B8, true},
      {{8, 8, 8, 0, 8}, gfx::D3DFMT_X8R8G8B8, true}, {{5, 6, 5, 0, 0}, gfx::D3DFMT_R5G6B5, true},
      {{5, 5, 5, 0, 1}, gfx::D3DFMT_X1R5G5B5, true}, {{5, 5, 5, 1, 0}, gfx::D3DFMT_A1R5G5B5, true},
      {{4, 4, 4, 4, 0}, gfx::D3DFMT_A4R4G4B4, true}, {{4, 4, 4, 0, 4}, gfx::D3DFMT_X4R4G4B4, true},
      {{3, 3, 2, 0, 0}, gfx::D3DFMT_R3G3B2, false},  {{3, 3, 2, 8, 0}, gfx::D3DFMT_A8R3G3B2, false},
      {{0, 0, 0, 8, 0}, gfx::D3DFMT_A8, false},      {{8, 8, 8, 0, 4}, gfx::D3DFMT_UNKNOWN, false},
  };
  for (const auto& [widths, format, readBack] : cases) {
    EXPECT_EQ(lumetra::ColourFormatFromWidths(widths), format);
    const ColourWidths back = lumetra::WidthsFromColourFormat(format);
    EXPECT_EQ(back.red + back.green + back.blue + back.alpha + back.x,
              readBack ? widths.red + widths.green + widths.blue + widths.alpha + widths.x : 0u)
        << format;
  }
  EXPECT_EQ(lumetra::DepthFormatFromWidths(24, 8, 0), gfx::D3DFMT_D24S8);
  EXPECT_EQ(lumetra::DepthFormatFromWidths(24, 4, 4), gfx::D3DFMT_D24X4S4);
  EXPECT_EQ(lumetra::DepthFormatFromWidths(15, 1, 0), gfx::D3DFMT_D15S1);
  EXPECT_EQ(lumetra::DepthFormatFromWidths(16, 0, 0), gfx::D3DFMT_D16);
  EXPECT_EQ(lumetra::DepthFormatFromWidths(24, 0, 0), gfx::D3DFMT_UNKNOWN);
}

TEST(LumetraStartTest, EverySlotNeedingTheInterfaceOrDeviceRefusesWithoutIt) {
  Lumetra renderer;
  C3DDisplayMode mode = WindowedMode(64, 48);
  EXPECT_EQ(renderer.EnumerateAdapters(), 0);
  EXPECT_FALSE(renderer.CheckMode(&mode));
  EXPECT_EQ(renderer.CreateDevice(&mode), status::Fail);
  EXPECT_FALSE(renderer.ResetDevice(&mode));
  EXPECT_FALSE(renderer.ReleaseDevice());
  EXPECT_EQ(renderer.RenderFrame(), status::Fail);
  uint8_t* data = reinterpret_cast<uint8_t*>(1);
  uint32_t size = 7;
  EXPECT_FALSE(renderer.CaptureScreen(&data, &size));
  EXPECT_EQ(data, nullptr);
  EXPECT_EQ(size, 0u);
  EXPECT_FALSE(renderer.SaveScreenshot("never.bmp"));
  uint32_t value = 0;
  EXPECT_EQ(renderer.GetCapability(1, &value), 0);
  EXPECT_EQ(value, 0u);
  renderer.SetAmbientColour(1, 1, 1, 1);
  EXPECT_EQ(renderer.GetStateCache().Get(gfx::D3DRS_AMBIENT), 0u);
  gfx::SetDefaultBackend(gfx::Backend::Record);
  ASSERT_TRUE(renderer.Init());
  EXPECT_FALSE(renderer.CheckMode(nullptr));
  EXPECT_EQ(renderer.CreateDevice(nullptr), status::Fail);
}

class LumetraDeviceTest : public RecordRenderer {};

TEST_F(LumetraDeviceTest, OneAdapterWithDistinctModesAndItsDesktopMode) {
  ASSERT_EQ(renderer.EnumerateAdapters(), 1);
  C3DAdapter* adapters = nullptr;
  ASSERT_EQ(renderer.GetModeList(&adapters), 1);
  ASSERT_NE(adapters, nullptr);
  EXPECT_EQ(adapters[0].driver, "record");
  EXPECT_FALSE(adapters[0].description.empty());
  ASSERT_GT(adapters[0].GetModeCount(), 0);
  std::set<std::tuple<uint32_t, uint32_t, uint32_t, uint32_t>> seen;
  for (const C3DModeEntry& m : adapters[0].modes) {
    EXPECT_TRUE(seen.emplace(m.width, m.height, m.BitsPerPixel(), m.greenBits).second) << m.width << "x" << m.height;
    EXPECT_TRUE(m.BitsPerPixel() == 16 || m.BitsPerPixel() == 32);
  }
  ASSERT_GE(adapters[0].desktopMode, 0);
  ASSERT_LT(adapters[0].desktopMode, adapters[0].GetModeCount());
  // Enumerating again rebuilds the list rather than appending to it.
  const int32_t modes = adapters[0].GetModeCount();
  EXPECT_EQ(renderer.EnumerateAdapters(), 1);
  renderer.GetModeList(&adapters);
  EXPECT_EQ(adapters[0].GetModeCount(), modes);
  renderer.FreeModeList();
  EXPECT_EQ(renderer.GetModeList(&adapters), 0);
  EXPECT_EQ(adapters, nullptr);
}

TEST_F(LumetraDeviceTest, ModesAreCheckedOnlyWhileNoDeviceExists) {
  C3DDisplayMode desktop = WindowedMode(kWidth, kHeight);
  EXPECT_FALSE(renderer.CheckMode(&desktop));  // a device exists
  ASSERT_TRUE(renderer.ReleaseDevice());
  EXPECT_FALSE(renderer.ReleaseDevice());
  EXPECT_TRUE(renderer.CheckMode(&desktop));
  C3DDisplayMode odd = desktop;
  odd.channelBits[4] = 4;  // no such format
  EXPECT_FALSE(renderer.CheckMode(&odd));
  C3DDisplayMode sixteen = desktop;
  sixteen.channelBits[0] = 5;
  sixteen.channelBits[1] = 6;
  sixteen.channelBits[2] = 5;
  sixteen.channelBits[4] = 0;
  EXPECT_TRUE(renderer.CheckMode(&sixteen));
}

TEST_F(LumetraDeviceTest, CreationFallsBackFromHardwareToMixedToSoftware) {
  const struct {
    uint32_t refused;
    bool created, hardware, software;
  } cases[] = {
      {0, true, true, false},
      {gfx::D3DCREATE_HARDWARE_VERTEXPROCESSING, true, true, true},
      {gfx::D3DCREATE_HARDWARE_VERTEXPROCESSING | gfx::D3DCREATE_MIXED_VERTEXPROCESSING, true, false, true},
      {gfx::D3DCREATE_MULTITHREADED, false, false, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.refused);
    renderer.ReleaseDevice();
    gfx::SetRefusedBehaviorFlags(c.refused);
    platform::ScopedDebugCapture debug;
    EXPECT_EQ(renderer.CreateDevice(&mode), c.created ? 0 : status::Fail);
    EXPECT_EQ(renderer.GetDevice() != nullptr, c.created);
    EXPECT_EQ(renderer.GetFlagB(), c.hardware);
    EXPECT_EQ(renderer.IsSoftwareVertexProcessing(), c.software);
    EXPECT_EQ(debug.Contains("DX8 Graphics Error : D3DERR_NOTAVAILABLE"), !c.created);
  }
}

TEST_F(LumetraDeviceTest, PresentationParametersFollowTheModeRecord) {
  const struct {
    int32_t multiSample;
    uint32_t expected;
  } cases[] = {{0, 0}, {1, 0}, {2, 2}, {16, 16}, {17, 0}, {-3, 0}};
  for (const auto& c : cases) {
    C3DDisplayMode m = WindowedMode(80, 60);
    m.multiSampleType = c.multiSample;
    renderer.ReleaseDevice();
    ASSERT_EQ(renderer.CreateDevice(&m), 0);
    const gfx::PresentParameters& p = renderer.GetPresentParameters();
    EXPECT_EQ(p.multiSampleType, c.expected) << c.multiSample;
    EXPECT_EQ(p.backBufferWidth, 80u);
    EXPECT_EQ(p.backBufferHeight, 60u);
    EXPECT_EQ(p.backBufferFormat, gfx::D3DFMT_X8R8G8B8);
    EXPECT_EQ(p.swapEffect, gfx::D3DSWAPEFFECT_DISCARD);
    EXPECT_TRUE(p.enableAutoDepthStencil);
    EXPECT_EQ(p.autoDepthStencilFormat, gfx::D3DFMT_D24S8);
    EXPECT_EQ(renderer.GetCurrentMode().width, 80);
  }
  // A record the device cannot take leaves the renderer without one.
  C3DDisplayMode bad = WindowedMode(-5, 60);
  renderer.ReleaseDevice();
  EXPECT_EQ(renderer.CreateDevice(&bad), status::Fail);
  EXPECT_EQ(renderer.GetDevice(), nullptr);
}

TEST_F(LumetraDeviceTest, CapabilitiesAnswerTheFourIndicesAndRefuseOthers) {
  uint32_t value = 12345;
  EXPECT_EQ(renderer.GetCapability(4, &value), status::Fail);
  EXPECT_EQ(renderer.GetCapability(-1, &value), status::Fail);
  EXPECT_EQ(value, 12345u);
  EXPECT_EQ(renderer.GetCapability(1, nullptr), status::Fail);
  const gfx::Caps& caps = renderer.GetCaps();
  ASSERT_EQ(renderer.GetCapability(0, &value), 0);
  EXPECT_EQ(value, std::min(caps.maxTextureWidth, caps.maxTextureHeight));
  ASSERT_EQ(renderer.GetCapability(1, &value), 0);
  EXPECT_GE(value, 0xFFFFu);
  EXPECT_EQ(value, caps.maxVertexIndex);
  ASSERT_EQ(renderer.GetCapability(2, &value), 0);
  EXPECT_GE(value, 0xFFFFu);
  ASSERT_EQ(renderer.GetCapability(3, &value), 0);
  EXPECT_EQ(value, renderer.GetDevice()->GetAvailableTextureMem());
  EXPECT_EQ(renderer.ComputeCapability(9), 0u);
}

TEST_F(LumetraDeviceTest, ResetBringsTheNewDeviceInLineWithTheShadow) {
  renderer.SetAmbientColour(1.0f, 0.5f, 0.0f, 1.0f);
  EXPECT_EQ(renderer.GetStateCache().Get(gfx::D3DRS_AMBIENT), 0xFFFF7F00u);
  C3DDisplayMode bigger = WindowedMode(96, 72);
  ASSERT_TRUE(renderer.ResetDevice(&bigger));
  uint32_t ambient = 0;
  renderer.GetDevice()->GetRenderState(gfx::D3DRS_AMBIENT, &ambient);
  EXPECT_EQ(ambient, 0xFFFF7F00u);
  EXPECT_EQ(renderer.GetCurrentMode().width, 96);
  EXPECT_FALSE(renderer.ResetDevice(nullptr));
}

TEST_F(LumetraDeviceTest, ALostDeviceDrawsNothingUntilItIsReset) {
  gfx::SimulateDeviceLoss(gfx::DeviceLoss::Lost);
  Log().Clear();
  EXPECT_EQ(renderer.RenderFrame(), 1);
  EXPECT_EQ(Count(gfx::CallOp::Present), 0u);
  EXPECT_EQ(Count(gfx::CallOp::Clear), 0u);

  gfx::SimulateDeviceLoss(gfx::DeviceLoss::NotReset);
  EXPECT_EQ(renderer.RenderFrame(), 1);  // reset, nothing drawn
  ASSERT_NE(renderer.GetDevice(), nullptr);
  EXPECT_EQ(renderer.RenderFrame(), 0);  // drawn again
}

platform::LRESULT PlainProc(platform::HWND hwnd, uint32_t message, platform::WPARAM wParam, platform::LPARAM lParam) {
  return platform::DefWindowProc(hwnd, message, wParam, lParam);
}

TEST_F(LumetraDeviceTest, AFailedResetInTheFrameIsAFailureAndLeavesNoDevice) {
  // A windowed device sized by its window; the window then shrinks to
  // nothing, so the reset the lost device asks for cannot build a back buffer.
  ASSERT_EQ(platform::InitWindowSystem(platform::WindowBackend::Headless), status::Ok);
  platform::WNDCLASS wc;
  wc.lpfnWndProc = PlainProc;
  wc.lpszClassName = "RendererResetTest";
  ASSERT_NE(platform::RegisterClass(wc), 0);
  platform::HWND hwnd = platform::CreateWindowEx(0, "RendererResetTest", "reset", 0, 0, 0, 208, 187, nullptr, nullptr,
                                                 nullptr, nullptr);
  ASSERT_NE(hwnd, nullptr);
  renderer.ReleaseDevice();
  renderer.SetWindow(hwnd);
  C3DDisplayMode sized = WindowedMode(0, 0);
  ASSERT_EQ(renderer.CreateDevice(&sized), 0);
  EXPECT_EQ(renderer.GetPresentParameters().backBufferWidth, 200u);
  ASSERT_EQ(renderer.RenderFrame(), 0);

  ASSERT_TRUE(platform::SetWindowPos(hwnd, nullptr, 0, 0, 4, 4, 0));
  ASSERT_EQ(platform::GetNativeWindow(hwnd)->width, 0);
  gfx::SimulateDeviceLoss(gfx::DeviceLoss::NotReset);
  platform::ScopedDebugCapture debug;
  EXPECT_EQ(renderer.RenderFrame(), status::Fail);
  EXPECT_EQ(renderer.GetDevice(), nullptr);
  EXPECT_TRUE(debug.Contains("DX8 Graphics Error : D3DERR_INVALIDCALL"));
  EXPECT_EQ(renderer.RenderFrame(), status::Fail);
  renderer.SetWindow(nullptr);
  platform::ShutdownWindowSystem();
}

}  // namespace
