#include "screens/KeyCodeToName.h"

namespace {

// Indexed by scan code; null for the codes without a name.
const char* const kNames[256] = {
    nullptr,     "ESCAPE",    "1",        "2",          "3",      "4",         "5",      "6",
    "7",         "8",         "9",        "0",          "MINUS",  "EQUALS",    nullptr,  nullptr,
    "Q",         "W",         "E",        "R",          "T",      "Y",         "U",      "I",
    "O",         "P",         "LBRACKET", "RBRACKET",   nullptr,  nullptr,     "A",      "S",
    "D",         "F",         "G",        "H",          "J",      "K",         "L",      "SEMICOLON",
    "APOSTROPHE", nullptr,    nullptr,    "BACKSLASH",  "Z",      "X",         "C",      "V",
    "B",         "N",         "M",        "COMMA",      "PERIOD", "SLASH",     nullptr,  "MULTIPLY",
    nullptr,     "SPACE",     nullptr,    nullptr,      nullptr,  nullptr,     nullptr,  nullptr,
    nullptr,     nullptr,     nullptr,    nullptr,      nullptr,  nullptr,     nullptr,  nullptr,
    nullptr,     nullptr,     "SUBTRACT", nullptr,      nullptr,  nullptr,     "ADD",
};

}  // namespace

std::string KeyCodeToName(uint32_t scanCode) {
  const char* name = kNames[scanCode & 0xFF];
  return name ? std::string("VORN_KEY_") + name : std::string("ERROR_UNKNOWN_KEY");
}
