#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "engine/services/InputPackets.h"
#include "engine/entity/InputSocket.h"
#include "engine/entity/InputSocketManager.h"

namespace {

std::vector<std::string> g_seen;  // "<socket>:<mouse|key>" in delivery order

class TestSocket : public cCore_Base_InputSocket {
 public:
  explicit TestSocket(std::string n, CoreStatus answer = status::Fail, bool declines = false)
      : cCore_Base_InputSocket(std::move(n)), answer_(answer), declines_(declines) {}
  CoreStatus OnMouse(MousePacket*) override {
    g_seen.push_back(GetName() + ":mouse");
    return answer_;
  }
  CoreStatus OnKey(KeyboardPacket* packet) override {
    g_seen.push_back(GetName() + ":key");
    const CoreStatus bound = cCore_Base_InputSocket::OnKey(packet);
    return status::Succeeded(bound) ? bound : answer_;
  }
  CoreStatus OnAddedToMouseList(cCore_Base_InputMGR* m) override {
    if (declines_) return status::Fail;
    return cCore_Base_InputSocket::OnAddedToMouseList(m);
  }
  CoreStatus OnAddedToKeyList(cCore_Base_InputMGR* m) override {
    if (declines_) return status::Fail;
    return cCore_Base_InputSocket::OnAddedToKeyList(m);
  }
  CoreStatus RegisterKeyHandlers(cGM_ConfigManager*) override { return status::Ok; }
  CoreStatus ReloadKeyHandlers(cGM_ConfigManager*) override { return status::Ok; }
  CoreStatus UnregisterKeyHandlers(cGM_ConfigManager*) override { return status::Ok; }

 private:
  CoreStatus answer_;
  bool declines_;
};

std::vector<std::string> Names(const std::deque<cCore_Base_InputSocket*>& list) {
  std::vector<std::string> out;
  for (auto* s : list) out.push_back(s->GetName());
  return out;
}

class InputSocketTest : public ::testing::Test {
 protected:
  void SetUp() override { g_seen.clear(); }
  MousePacket mouse{};
  KeyboardPacket key{};
};

TEST_F(InputSocketTest, PacketsGoFrontToBackUntilASocketTakesThem) {
  cCore_Base_InputMGR mgr;
  TestSocket a("A", status::Fail);
  TestSocket b("B", status::Ok);
  TestSocket c("C", status::Ok);
  ASSERT_EQ(mgr.AddMouseSocket(&b), status::Ok);
  ASSERT_EQ(mgr.AddMouseSocketFront(&a), status::Ok);
  ASSERT_EQ(mgr.AddMouseSocket(&c), status::Ok);
  EXPECT_EQ(mgr.OnMousePacket(&mouse), status::Ok);
  EXPECT_EQ(g_seen, (std::vector<std::string>{"A:mouse", "B:mouse"}));

  // Nobody takes it: dropped, failure answered.
  cCore_Base_InputMGR keys;
  TestSocket x("X");
  keys.AddKeySocket(&x);
  g_seen.clear();
  EXPECT_EQ(keys.OnKeyPacket(&key), status::Fail);
  EXPECT_EQ(g_seen, (std::vector<std::string>{"X:key"}));
  EXPECT_EQ(keys.OnMousePacket(&mouse), status::Fail);
}

TEST_F(InputSocketTest, CaptureTakesEveryMousePacketButNoKeys) {
  cCore_Base_InputMGR mgr;
  TestSocket a("A", status::Ok);
  TestSocket b("B", status::Fail);
  mgr.AddMouseSocket(&a);
  mgr.AddMouseSocket(&b);
  mgr.AddKeySocket(&a);
  mgr.CaptureMouse(&b);
  EXPECT_EQ(mgr.OnMousePacket(&mouse), status::Fail);  // B's own answer
  EXPECT_EQ(mgr.OnKeyPacket(&key), status::Ok);
  EXPECT_EQ(g_seen, (std::vector<std::string>{"B:mouse", "A:key"}));
  mgr.ReleaseMouse();
  g_seen.clear();
  mgr.OnMousePacket(&mouse);
  EXPECT_EQ(g_seen, (std::vector<std::string>{"A:mouse"}));
}

TEST_F(InputSocketTest, InsertionFollowsTheAnchorOrAppends) {
  cCore_Base_InputMGR mgr;
  TestSocket gui("gui"), game("Game"), cam("Camera"), cursor("Cursor"), plot("Plot"), late("Late");
  mgr.AddMouseSocket(&gui);
  mgr.AddMouseSocket(&game);
  EXPECT_EQ(mgr.InsertMouseSocketAfterName("GUI", &cam), status::Ok);
  EXPECT_EQ(mgr.InsertMouseSocketBefore(&game, &cursor), status::Ok);
  EXPECT_EQ(mgr.InsertMouseSocketBeforeName("gui", &plot), status::Ok);
  TestSocket stranger("Stranger");
  EXPECT_EQ(mgr.InsertMouseSocketAfter(&stranger, &late), status::Ok);
  EXPECT_EQ(Names(mgr.GetMouseList()),
            (std::vector<std::string>{"Plot", "gui", "Camera", "Cursor", "Game", "Late"}));

  cCore_Base_InputSocket* found = nullptr;
  EXPECT_EQ(mgr.FindMouseSocket("Gui", &found), status::Ok);
  EXPECT_EQ(found, &gui);
  EXPECT_EQ(mgr.FindMouseSocket("nobody", &found), status::Fail);
  EXPECT_EQ(found, nullptr);

  // The key list is a list of its own.
  EXPECT_EQ(mgr.InsertKeySocketAfterName("gui", &game), status::Ok);
  EXPECT_EQ(mgr.InsertKeySocketBeforeName("game", &gui), status::Ok);
  EXPECT_EQ(mgr.InsertKeySocketAfter(&gui, &cam), status::Ok);
  EXPECT_EQ(mgr.InsertKeySocketBefore(&gui, &plot), status::Ok);
  EXPECT_EQ(mgr.AddKeySocketFront(&cursor), status::Ok);
  EXPECT_EQ(Names(mgr.GetKeyList()), (std::vector<std::string>{"Cursor", "Plot", "gui", "Camera", "Game"}));
  EXPECT_EQ(mgr.FindKeySocket("CAMERA", &found), status::Ok);
  EXPECT_EQ(found, &cam);
}

TEST_F(InputSocketTest, RefusedAdditionsAndFailedRemovalsChangeNothing) {
  cCore_Base_InputMGR mgr;
  TestSocket a("A");
  TestSocket shy("Shy", status::Ok, /*declines=*/true);
  mgr.AddMouseSocket(&a);
  struct Case {
    const char* what;
    CoreStatus got;
    CoreStatus want;
  };
  const Case cases[] = {
      {"null mouse", mgr.AddMouseSocket(nullptr), inputstatus::AddFailed},
      {"null key front", mgr.AddKeySocketFront(nullptr), inputstatus::AddFailed},
      {"declines", mgr.AddMouseSocket(&shy), inputstatus::AddFailed},
      {"declines after unknown", mgr.InsertMouseSocketAfterName("nobody", &shy), inputstatus::AddFailed},
      {"declines key", mgr.AddKeySocket(&shy), inputstatus::AddFailed},
      {"listed twice", mgr.AddMouseSocketFront(&a), inputstatus::AddFailed},
      {"remove unknown name", mgr.RemoveMouseSocketByName("Nobody"), inputstatus::NoSuchSocket},
      {"remove unknown key name", mgr.RemoveKeySocketByName("A"), inputstatus::NoSuchSocket},
      {"remove unlisted", mgr.RemoveMouseSocket(&shy), status::Fail},
      {"remove unlisted key", mgr.RemoveKeySocket(&a), status::Fail},
      {"remove null", mgr.RemoveMouseSocket(nullptr), status::Fail},
      {"layer missing", mgr.AddLayer1Socket(&a, 0), status::Fail},
      {"layer negative", mgr.AddLayer2Socket(&a, -1), status::Fail},
      {"find in missing layer", mgr.FindLayer1Socket("A", nullptr, 3), status::Fail},
      {"remove from missing layer", mgr.RemoveLayer2SocketByName("A", 0), status::Fail},
  };
  for (const Case& c : cases) EXPECT_EQ(c.got, c.want) << c.what;
  EXPECT_EQ(Names(mgr.GetMouseList()), (std::vector<std::string>{"A"}));
  EXPECT_TRUE(mgr.GetKeyList().empty());
  EXPECT_EQ(shy.GetMouseManager(), nullptr);
  EXPECT_EQ(shy.GetKeyManager(), nullptr);
}

TEST_F(InputSocketTest, RemovalReleasesCaptureAndClearsBackPointers) {
  cCore_Base_InputMGR mgr;
  TestSocket a("A", status::Ok);
  TestSocket b("B", status::Ok);
  mgr.AddMouseSocket(&a);
  mgr.AddMouseSocket(&b);
  mgr.AddKeySocket(&b);
  EXPECT_EQ(b.GetMouseManager(), &mgr);
  mgr.CaptureMouse(&b);
  EXPECT_EQ(mgr.RemoveMouseSocketByName("b"), status::Ok);
  EXPECT_EQ(mgr.GetCapturedSocket(), nullptr);
  EXPECT_EQ(b.GetMouseManager(), nullptr);
  EXPECT_EQ(b.GetKeyManager(), &mgr);
  EXPECT_EQ(mgr.RemoveKeySocket(&b), status::Ok);
  EXPECT_EQ(b.GetKeyManager(), nullptr);
  mgr.OnMousePacket(&mouse);
  EXPECT_EQ(g_seen, (std::vector<std::string>{"A:mouse"}));
}

TEST_F(InputSocketTest, ADestroyedSocketLeavesEveryListAndItsCapture) {
  cCore_Base_InputMGR mgr;
  TestSocket keep("Keep", status::Ok);
  mgr.AddMouseSocket(&keep);
  const int32_t layer = mgr.AddLayer1();
  const int32_t layer2 = mgr.AddLayer2();
  {
    auto doomed = std::make_unique<TestSocket>("Doomed", status::Ok);
    mgr.AddMouseSocketFront(doomed.get());
    mgr.AddKeySocket(doomed.get());
    EXPECT_EQ(mgr.AddLayer1Socket(doomed.get(), layer), status::Ok);
    EXPECT_EQ(mgr.AddLayer2SocketFront(doomed.get(), layer2), status::Ok);
    EXPECT_EQ(doomed->GetLayer1Indexes(), std::vector<int32_t>{layer});
    {
      // A socket that lost the capture to another does not end it when it goes.
      TestSocket floating("Floating");
      mgr.CaptureMouse(&floating);
      mgr.CaptureMouse(doomed.get());
    }
    EXPECT_EQ(mgr.GetCapturedSocket(), doomed.get());
  }
  EXPECT_EQ(mgr.GetCapturedSocket(), nullptr);
  EXPECT_EQ(Names(mgr.GetMouseList()), (std::vector<std::string>{"Keep"}));
  EXPECT_TRUE(mgr.GetKeyList().empty());
  cCore_Base_InputSocket* found = nullptr;
  EXPECT_EQ(mgr.FindLayer1Socket("Doomed", &found, layer), status::Fail);
  EXPECT_EQ(mgr.FindLayer2Socket("Doomed", &found, layer2), status::Fail);
  EXPECT_EQ(mgr.OnMousePacket(&mouse), status::Ok);
  EXPECT_EQ(g_seen, (std::vector<std::string>{"Keep:mouse"}));
}

TEST_F(InputSocketTest, ADestroyedManagerLeavesNoBackPointers) {
  TestSocket s("S");
  {
    cCore_Base_InputMGR mgr;
    mgr.AddMouseSocket(&s);
    mgr.AddKeySocket(&s);
    const int32_t layer = mgr.AddLayer1();
    mgr.AddLayer1Socket(&s, layer);
    mgr.AddLayer1Socket(&s, mgr.AddLayer1());
    mgr.CaptureMouse(&s);
  }
  EXPECT_EQ(s.GetMouseManager(), nullptr);
  EXPECT_EQ(s.GetKeyManager(), nullptr);
  EXPECT_EQ(s.GetLayer1Manager(), nullptr);
  EXPECT_TRUE(s.GetLayer1Indexes().empty());
}

TEST_F(InputSocketTest, LayersKeepTheirOwnOrderAndIndexes) {
  cCore_Base_InputMGR mgr;
  const int32_t l0 = mgr.AddLayer1();
  const int32_t l1 = mgr.AddLayer1();
  TestSocket a("A"), b("B"), c("C");
  EXPECT_EQ(mgr.AddLayer1Socket(&a, l0), status::Ok);
  EXPECT_EQ(mgr.InsertLayer1SocketBeforeName("a", &b, l0), status::Ok);
  EXPECT_EQ(mgr.InsertLayer1SocketAfter(&b, &c, l0), status::Ok);
  EXPECT_EQ(mgr.InsertLayer1SocketBefore(&a, &a, l1), status::Ok);  // anchor not in layer 1: appended
  EXPECT_EQ(mgr.InsertLayer1SocketAfterName("x", &b, l1), status::Ok);
  EXPECT_EQ(mgr.AddLayer1SocketFront(&c, l1), status::Ok);
  EXPECT_EQ(a.GetLayer1Indexes(), (std::vector<int32_t>{l0, l1}));
  cCore_Base_InputSocket* found = nullptr;
  EXPECT_EQ(mgr.FindLayer1Socket("C", &found, l1), status::Ok);
  EXPECT_EQ(mgr.RemoveLayer1SocketByName("A", l0), status::Ok);
  EXPECT_EQ(a.GetLayer1Indexes(), (std::vector<int32_t>{l1}));
  EXPECT_EQ(a.GetLayer1Manager(), &mgr);
  EXPECT_EQ(mgr.RemoveLayer1Socket(&a, l1), status::Ok);
  EXPECT_EQ(a.GetLayer1Manager(), nullptr);
  // Layers take no part in dispatch.
  EXPECT_EQ(mgr.OnMousePacket(&mouse), status::Fail);
  EXPECT_TRUE(g_seen.empty());

  const int32_t m0 = mgr.AddLayer2();
  EXPECT_EQ(mgr.AddLayer2Socket(&a, m0), status::Ok);
  EXPECT_EQ(mgr.InsertLayer2SocketAfterName("A", &b, m0), status::Ok);
  EXPECT_EQ(mgr.InsertLayer2SocketBeforeName("A", &c, m0), status::Ok);
  EXPECT_EQ(mgr.InsertLayer2SocketAfter(&c, &a, m0), inputstatus::AddFailed);  // already there
  EXPECT_EQ(mgr.RemoveLayer2Socket(&b, m0), status::Ok);
  EXPECT_EQ(mgr.InsertLayer2SocketBefore(&c, &b, m0), status::Ok);
  EXPECT_EQ(mgr.FindLayer2Socket("b", &found, m0), status::Ok);
  EXPECT_EQ(mgr.RemoveLayer2SocketByName("b", m0), status::Ok);
}

// Key bindings: exact scan code, released flag and modifier byte.
CoreStatus ForwardHandler(KeyboardPacket*) { return 7; }
CoreStatus OtherHandler(KeyboardPacket*) { return 9; }

TEST_F(InputSocketTest, KeyHandlersMatchScanCodeReleasedAndModifiersExactly) {
  TestSocket s("Camera");
  EXPECT_EQ(s.cCore_Base_InputSocket::OnKey(&key), status::Fail);  // no handlers
  KeyBinding forward;
  forward.scanCode = 17;
  forward.modifiers = eKeyMod_LeftCtrl;
  KeyBinding up;
  up.scanCode = 17;
  up.released = 1;
  s.AddKeyHandler(&forward, &ForwardHandler);
  s.AddKeyHandler(&up, &OtherHandler);
  s.AddKeyHandler(nullptr, &OtherHandler);  // ignored
  EXPECT_EQ(s.GetKeyHandlers().size(), 2u);
  struct Case {
    uint8_t code;
    uint32_t released;
    uint8_t modifiers;
    CoreStatus want;
  };
  const Case cases[] = {
      {17, 0, eKeyMod_LeftCtrl, 7},
      {17, 0, eKeyMod_RightCtrl, status::Fail},                   // other Ctrl
      {17, 0, eKeyMod_LeftCtrl | eKeyMod_CapsLock, status::Fail},  // a lock bit spoils it
      {17, 1, 0, 9},
      {18, 0, eKeyMod_LeftCtrl, status::Fail},
  };
  for (const Case& c : cases) {
    KeyboardPacket p{};
    p.scanCode = c.code;
    p.released = c.released;
    p.modifiers = c.modifiers;
    EXPECT_EQ(s.cCore_Base_InputSocket::OnKey(&p), c.want) << int(c.code) << " " << int(c.modifiers);
  }
}

TEST_F(InputSocketTest, BaseSocketDeclinesMouseAndLayerPackets) {
  TestSocket s("Base");
  EXPECT_EQ(s.cCore_Base_InputSocket::OnMouse(&mouse), status::Fail);
  EXPECT_EQ(s.OnLayer1Mouse(&mouse), status::Fail);
  EXPECT_EQ(s.OnLayer2Mouse(&mouse), status::Fail);
}

}  // namespace
