#pragma once
// The check a scripted run makes of each aimed click: a widget name must be
// the GUI's hover widget or one of its parents; "cell <x> <z>" must be the
// view cell the game plot picks under the pointer.
#include "platform/window/ScriptedInput.h"

class cKV9_GlobalWrapper;

// Reads the table's GUI and plot when a click is checked, so it may be made
// before they exist.
platform::ClickCheck ScriptedClickCheck(cKV9_GlobalWrapper* table);
