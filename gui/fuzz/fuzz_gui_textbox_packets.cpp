// A one-line and a multi-line text box fed any sequence of key and mouse
// packets: caret, selection, anchor and view always stay inside the text,
// and the one-line box shows the edit text from its first visible
// character on.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "engine/entity/ActionFactory.h"
#include "engine/entity/EntityManager.h"
#include "engine/entity/SpawnBase.h"
#include "engine/services/tests/FakeCore3D.h"
#include "gui/core/GUIMLTextBox.h"
#include "gui/core/GUIStatic.h"
#include "gui/core/GUIStaticText.h"
#include "gui/core/GUITextBox.h"
#include "gui/core/GUIWorld.h"
#include "gui/core/WidgetMessages.h"
#include "gui/plugin/GUI.h"

namespace {

template <typename T>
class Spawn : public cSpawn_Base {
 public:
  explicit Spawn(const char* name) : cSpawn_Base(name) {}
  cEntity_Base* Create(uint32_t, uint32_t, cEntity_Manager* creator, const std::string&) override {
    return new T(creator);
  }
};

#define Check(ok) do { if (!(ok)) { std::fprintf(stderr, "check failed: %s line %d\n", #ok, __LINE__); std::abort(); } } while (0)

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Spawn<GUIStatic> statics("SpawnStatic");
  Spawn<GUIStaticText> texts("SpawnStaticText");
  Spawn<GUITextBox> boxes("SpawnTextBox");
  Spawn<GUIMLTextBox> multiLine("SpawnMLTextBox");
  fake3d::FakeCore3D renderer;
  Core3D* rendererSlot = &renderer;
  cAction_Factory factory;
  cAction_Factory* factorySlot = &factory;
  factory.RegisterSpawn(&statics);
  factory.RegisterSpawn(&texts);
  factory.RegisterSpawn(&boxes);
  factory.RegisterSpawn(&multiLine);
  platform::RECT rect{0, 0, 800, 600};
  GUI gui;
  cEntity_Manager manager(&factory);
  cEntity_Manager* managerSlot = &manager;
  gui.SetWrapperBlockRef(&rect);
  gui.SetRendererRef(&rendererSlot);
  gui.SetEntityManagerRef(&managerSlot);
  gui.SetActionFactoryRef(&factorySlot);
  gui.Init();
  for (int32_t kind : {GUIKIND_TEXTBOX, GUIKIND_MLTEXTBOX}) {
    GUIEntity* made = nullptr;
    gui.SpawnWidget(kind, &made);
    auto* box = dynamic_cast<GUITextBox*>(made);
    Check(box != nullptr);
    box->SetWidth(8.0f);
    box->SetHeight(0.3f);
    box->CreateTextWidget();
    box->CreateCaret();
    box->SetTextScale(0.1f, 0.1f, 1.0f, true);
    box->SetText("start text", false);
    box->Initialize();
    const bool oneLine = kind == GUIKIND_TEXTBOX;

    // Records of four bytes: kind, code, modifiers, position.
    for (size_t i = 0; i + 4 <= size; i += 4) {
      const uint8_t what = data[i] % 6;
      if (what <= 1) {
        KeyboardPacket key;
        key.scanCode = data[i + 1];
        key.modifiers = data[i + 2];
        box->OnMessage(0, what == 0 ? GUIMSG_KEYDOWN : GUIMSG_KEYUP, reinterpret_cast<uintptr_t>(&key));
      } else if (what <= 3) {
        MousePacket mouse;
        mouse.pressed = what == 2 ? 1 : 0;
        mouse.held = what == 3 ? 1 : 0;
        box->SetHitPoint(data[i + 3] / 200.0f, data[i + 2] / 255.0f);
        box->OnMessage(0, what == 2 ? GUIMSG_MOUSE_DOWN : GUIMSG_DRAG, reinterpret_cast<uintptr_t>(&mouse));
      } else if (what == 4) {
        box->OnMessage(0, data[i + 1] & 1 ? GUIMSG_FOCUS_GAIN : GUIMSG_FOCUS_LOST, 0);
        if (data[i + 2] == 0xFF) box->SetText(std::string(data[i + 3] % 40, data[i + 1] & 2 ? ' ' : 'x'), true);
      } else {
        box->OnMessage(0, data[i + 1] & 1 ? GUIMSG_LINEUP : GUIMSG_LINEDOWN, 0);
      }
      const int32_t length = static_cast<int32_t>(box->GetText().size());
      Check(box->GetCaretIndex() >= -1 && box->GetCaretIndex() <= length);
      Check(box->GetFirstVisible() >= 0 && box->GetFirstVisible() <= length);
      Check(box->GetAnchor() >= 0 && box->GetAnchor() <= length);
      const int32_t other = box->GetAnchor() + box->GetSelectionLength();
      Check(other >= 0 && other <= length);
      if (oneLine) {
        Check(box->GetText().compare(static_cast<size_t>(box->GetFirstVisible()), box->GetShownText().size(),
                                     box->GetShownText()) == 0);
      }
    }
  }
  return 0;
}
