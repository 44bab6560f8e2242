// Random statements of the command package run with a widget of every kind
// as the current entity: no command reads past its tokens or crashes, the
// current entity is the same widget afterwards, and the tree stays
// consistent.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/config/CommandHandler.h"
#include "gui/fuzz/GUIFuzzWorld.h"
#include "gui/plugin/commands/GUICommands.h"

namespace {

// Words the commands select on, so that random input reaches their branches.
const char* const kWords[] = {
    "true", "1", "0", "false", "state", "mouseover", "active", "default", "disabled", "checked", "unchecked",
    "left", "right", "center", "thumb", "decrease", "increase", "listbox", "button", "shader", "highlightshader",
    "scrollbarshader", "position", "stateshader", "cttype", "complex", "rect", "ell", "ellipse", "rectangle",
    "width", "height", "visible", "textbounds", "textscale", "linescale", "listbounds", "range", "horizontal",
    "vertical", "thumbscale", "thumbuv", "curve", "startpoint", "dynamic", "perspective", "focaldistance",
    "mutablesize", "mutablepos", "font", "click", "down", "Rec", "MoveWidget", "Prepend", "Append", "-1", "2.5",
    "1e30", "-1e30", "nan", "w0", "w5", "w9", "w16", "FF000080", "uvcoords", "staticthumb", "lbscale",
};

// The creating command of each kind, in kind order 3 to 16.
const char* const kCreators[] = {
    "DefaultSceneCommand",       "DefaultGroupCommand",       "DefaultButtonCommand",     "DefaultCheckBoxCommand",
    "DefaultStaticCommand",      "DefaultStaticTextCommand",  "DefaultListBoxCommand",    "DefaultProgressBarCommand",
    "DefaultScrollBarCommand",   "DefaultSliderCommand",      "DefaultSpinCommand",       "DefaultTextBoxCommand",
    "DefaultMLTextBoxCommand",   "DefaultDropDownLBCommand",
};

CommandHandler HandlerNamed(const char* name) {
  for (const guicmd::CommandEntry& entry : guicmd::kCommands) {
    if (std::string(entry.name) == name) return entry.handler;
  }
  return nullptr;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  GUIFuzzWorld world;
  GUIParser* parser = world.gui.GetParser();
  // An empty text makes the world.
  std::vector<GUIToken> start;
  GUI_FUZZ_CHECK(parser->ParseTokens(start, "fuzz"));
  GUIEntity* root = world.gui.GetWorld();
  GUI_FUZZ_CHECK(root != nullptr);
  std::vector<GUIEntity*> widgets;
  for (size_t k = 0; k < std::size(kCreators); ++k) {
    parser->SetCurrent(root);
    CStringArray create = {"create", "w" + std::to_string(k + 3)};
    if (HandlerNamed(kCreators[k])(create, parser) == status::Ok) {
      widgets.push_back(parser->GetCurrent());
      parser->EndBlock();
    }
  }
  widgets.push_back(root);
  size_t i = 0;
  const auto next = [&]() -> uint8_t { return i < size ? data[i++] : 0; };
  while (i < size) {
    GUIEntity* target = widgets[next() % widgets.size()];
    const guicmd::CommandEntry& entry = guicmd::kCommands[next() % guicmd::kCommandCount];
    const std::string keyword = entry.name;
    // Creation and language commands open blocks: they are the parser's.
    if (keyword.find("Language") != std::string::npos || keyword.find("LangDef") != std::string::npos) continue;
    bool creates = false;
    for (const char* creator : kCreators) creates = creates || keyword == creator;
    if (creates) continue;
    CStringArray statement = {keyword};
    const size_t count = next() % 9;
    for (size_t t = 0; t < count; ++t) {
      const uint8_t pick = next();
      statement.push_back(pick < 200 ? std::string(kWords[pick % std::size(kWords)]) : std::to_string(pick - 200));
    }
    parser->SetCurrent(target);
    entry.handler(statement, parser);
    GUI_FUZZ_CHECK(parser->GetCurrent() == target);
  }
  parser->SetCurrent(root);
  GUIFuzzWorld::CheckTree(root);
  return 0;
}
