#include "gui/core/WidgetMessages.h"

#include "engine/config/KeyNames.h"
#include "engine/services/InputPackets.h"

namespace {

struct Word {
  uint32_t code;
  const char* word;
};

constexpr Word kWords[] = {
    {1, "focus_lost"},      {2, "focus_gain"},        {3, "close"},          {4, "move"},
    {5, "size"},            {6, "entersizemove"},     {7, "exitsizemove"},   {11, "mouseover_enter"},
    {12, "mouseover_exit"}, {16, "can_close"},        {17, "show_window"},   {18, "close_window"},
    {19, "show_screen"},    {22, "cancel"},           {23, "okay"},          {24, "scrollbar"},
    {25, "activate"},       {26, "button_clearstate"}, {27, "keydown"},      {28, "keyup"},
    {29, "widget_init"},    {30, "show"},             {31, "hide"},          {34, "enable"},
    {35, "disable"},        {36, "lineup"},           {37, "linedown"},      {256, "slm_dragchange"},
    {257, "slm_pagechange"}, {512, "sbm_up"},         {513, "sbm_pageup"},   {514, "sbm_down"},
    {515, "sbm_pagedown"},  {516, "sbm_scrollchange"}, {517, "sbm_max"},     {518, "sbm_min"},
    {768, "lbm_selchange"}, {769, "lbm_hlup"},        {770, "lbm_hlpageup"}, {771, "lbm_hldown"},
    {772, "lbm_hlpagedown"}, {1024, "tb_updated"},
};

}  // namespace

const char* GUIMessageWord(uint32_t code) {
  for (const Word& w : kWords) {
    if (w.code == code) return w.word;
  }
  return nullptr;
}

std::string GUIKeyText(const KeyboardPacket& packet) {
  std::string text;
  if (packet.modifiers & eKeyMod_LeftCtrl) {
    text += "lctrl-";
  } else if (packet.modifiers & eKeyMod_RightCtrl) {
    text += "rctrl-";
  }
  if (packet.modifiers & eKeyMod_LeftAlt) {
    text += "lalt-";
  } else if (packet.modifiers & eKeyMod_RightAlt) {
    text += "ralt-";
  }
  return text + ScanCodeToKeyName(packet.scanCode);
}
