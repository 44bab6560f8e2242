#include "gui/plugin/WidgetSpawns.h"

#include "engine/services/Panelis.h"
#include "gui/core/GUIButton.h"
#include "gui/core/GUICheckBox.h"
#include "gui/core/GUIDropDownLB.h"
#include "gui/core/GUIListBox.h"
#include "gui/core/GUIMLTextBox.h"
#include "gui/core/GUIProgressBar.h"
#include "gui/core/GUIScene.h"
#include "gui/core/GUIScrollBar.h"
#include "gui/core/GUISlider.h"
#include "gui/core/GUISpin.h"
#include "gui/core/GUIStatic.h"
#include "gui/core/GUIStaticText.h"
#include "gui/core/GUITextBox.h"
#include "gui/core/GUIWorld.h"

namespace {

cSpawn_Base* g_byKind[GUIKIND_DROPDOWN + 1] = {};

}  // namespace

template <typename T>
WidgetSpawn<T>::WidgetSpawn(const char* spawnName, int32_t kind) : cSpawn_Base(spawnName), kind_(kind) {
  g_byKind[kind] = this;
}

template <typename T>
WidgetSpawn<T>::~WidgetSpawn() {
  if (g_byKind[kind_] == this) g_byKind[kind_] = nullptr;
}

#define GUI_WIDGET_SPAWN(Class, Widget, Kind)            \
  class Class : public WidgetSpawn<Widget> {             \
   public:                                               \
    Class() : WidgetSpawn<Widget>(#Class, Kind) {}       \
  };

GUI_WIDGET_SPAWN(SpawnWorld, GUIWorld, GUIKIND_WORLD)
GUI_WIDGET_SPAWN(SpawnScene, GUIScene, GUIKIND_SCENE)
GUI_WIDGET_SPAWN(SpawnGroup, GUIGroup, GUIKIND_GROUP)
GUI_WIDGET_SPAWN(SpawnButton, GUIButton, GUIKIND_BUTTON)
GUI_WIDGET_SPAWN(SpawnCheckBox, GUICheckBox, GUIKIND_CHECKBOX)
GUI_WIDGET_SPAWN(SpawnStatic, GUIStatic, GUIKIND_STATIC)
GUI_WIDGET_SPAWN(SpawnStaticText, GUIStaticText, GUIKIND_STATICTEXT)
GUI_WIDGET_SPAWN(SpawnListBox, GUIListBox, GUIKIND_LISTBOX)
GUI_WIDGET_SPAWN(SpawnProgressBar, GUIProgressBar, GUIKIND_PROGRESSBAR)
GUI_WIDGET_SPAWN(SpawnScrollBar, GUIScrollBar, GUIKIND_SCROLLBAR)
GUI_WIDGET_SPAWN(SpawnSlider, GUISlider, GUIKIND_SLIDER)
GUI_WIDGET_SPAWN(SpawnSpin, GUISpin, GUIKIND_SPIN)
GUI_WIDGET_SPAWN(SpawnTextBox, GUITextBox, GUIKIND_TEXTBOX)
GUI_WIDGET_SPAWN(SpawnMLTextBox, GUIMLTextBox, GUIKIND_MLTEXTBOX)
GUI_WIDGET_SPAWN(SpawnDropDownLB, GUIDropDownLB, GUIKIND_DROPDOWN)

#undef GUI_WIDGET_SPAWN

namespace {

// Built when the library loads, in this order; they live until it goes.
SpawnWorld g_world;
SpawnScene g_scene;
SpawnGroup g_group;
SpawnButton g_button;
SpawnCheckBox g_checkBox;
SpawnStatic g_static;
SpawnStaticText g_staticText;
SpawnListBox g_listBox;
SpawnProgressBar g_progressBar;
SpawnScrollBar g_scrollBar;
SpawnSlider g_slider;
SpawnSpin g_spin;
SpawnTextBox g_textBox;
SpawnMLTextBox g_mlTextBox;
SpawnDropDownLB g_dropDown;

// Widget kind of each spawn-pack index.
constexpr int32_t kPackKinds[] = {
    GUIKIND_BUTTON,     GUIKIND_SCENE,     GUIKIND_CHECKBOX,  GUIKIND_GROUP,   GUIKIND_LISTBOX,
    GUIKIND_PROGRESSBAR, GUIKIND_SCROLLBAR, GUIKIND_STATIC,   GUIKIND_STATICTEXT, GUIKIND_TEXTBOX,
    GUIKIND_SLIDER,     GUIKIND_SPIN,      GUIKIND_WORLD,     GUIKIND_MLTEXTBOX, GUIKIND_DROPDOWN,
};

}  // namespace

cSpawn_Base* WidgetSpawnOfKind(int32_t kind) {
  return kind >= GUIKIND_WORLD && kind <= GUIKIND_DROPDOWN ? g_byKind[kind] : nullptr;
}

cSpawn_Base* WidgetSpawnOfPackIndex(uint32_t index) {
  return index < std::size(kPackKinds) ? WidgetSpawnOfKind(kPackKinds[index]) : nullptr;
}
