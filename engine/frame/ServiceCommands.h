#pragma once
// The script commands of the frame service, camera and cursor blocks. The
// engine game manager registers them under these names and binds them to
// the keywords of its languages. Each refuses (0x80004005) when the reading
// parser is not a ConfigParser.
#include "engine/config/CommandHandler.h"

// Time service block: "timeservice", "timeline", "property", "}".
CoreStatus TimeServiceCommand(CStringArray& tokens, CoreParser* parser);
CoreStatus TSEndLangCommand(CStringArray& tokens, CoreParser* parser);
CoreStatus TimelineCommand(CStringArray& tokens, CoreParser* parser);
CoreStatus TimelinePropCommand(CStringArray& tokens, CoreParser* parser);
CoreStatus TLEndLangCommand(CStringArray& tokens, CoreParser* parser);

// Render service block.
CoreStatus RenderServiceCommand(CStringArray& tokens, CoreParser* parser);
CoreStatus RSEndLangCommand(CStringArray& tokens, CoreParser* parser);
CoreStatus RenderServicePropCommand(CStringArray& tokens, CoreParser* parser);

// Physics service block.
CoreStatus PhysicsServiceCommand(CStringArray& tokens, CoreParser* parser);
CoreStatus PSEndLangCommand(CStringArray& tokens, CoreParser* parser);
CoreStatus PhysicsServicePropCommand(CStringArray& tokens, CoreParser* parser);

// Particle service block.
CoreStatus ParticleServiceCommand(CStringArray& tokens, CoreParser* parser);
CoreStatus PartServEndLangCommand(CStringArray& tokens, CoreParser* parser);
CoreStatus ParticleServicePropCommand(CStringArray& tokens, CoreParser* parser);

// Camera block.
CoreStatus CameraCommand(CStringArray& tokens, CoreParser* parser);
CoreStatus CameraEndLangCommand(CStringArray& tokens, CoreParser* parser);
CoreStatus CameraPropCommand(CStringArray& tokens, CoreParser* parser);
CoreStatus CameraServiceCommand(CStringArray& tokens, CoreParser* parser);

// Cursor block.
CoreStatus CursorCommand(CStringArray& tokens, CoreParser* parser);
CoreStatus CursorEndLangCommand(CStringArray& tokens, CoreParser* parser);
CoreStatus CursorPropCommand(CStringArray& tokens, CoreParser* parser);
CoreStatus CursorServiceCommand(CStringArray& tokens, CoreParser* parser);
