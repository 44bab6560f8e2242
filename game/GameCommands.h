#pragma once
// The script commands of the "gamecamera" and "gamecursor" blocks. Each
// refuses (0x80004005) when the reading parser is not a ConfigParser or the
// block's object is not of its class.
#include "engine/config/CommandHandler.h"

CoreStatus GameCameraCommand(CStringArray& tokens, CoreParser* parser);
CoreStatus GameCameraPropCommand(CStringArray& tokens, CoreParser* parser);
CoreStatus GameCameraEndLangCommand(CStringArray& tokens, CoreParser* parser);
CoreStatus GameCursorCommand(CStringArray& tokens, CoreParser* parser);
CoreStatus GameCursorPropCommand(CStringArray& tokens, CoreParser* parser);
CoreStatus GameCursorStateCommand(CStringArray& tokens, CoreParser* parser);
CoreStatus GameCursorEndLangCommand(CStringArray& tokens, CoreParser* parser);

// A Windows-style join with exactly one backslash between the two.
std::string JoinWindowsPath(const std::string& folder, const std::string& name);
