#pragma once
// The game world with the start-up script's camera and cursor blocks: a game
// camera "MainCamera", an orthographic cursor camera and a game cursor with
// six states, made by the game manager's Init on the recording renderer.
#include "engine/services/InputPackets.h"
#include "game/GameCamera.h"
#include "game/GameCursor.h"
#include "game/tests/GameTestWorld.h"
#include "scene/KV9InputManager.h"

namespace gametest {

inline const char* const kCameraScript =
    "timeservice TimeService {\n}\n"
    "gamecamera MainCamera {\n property CamPos 0 50 -40;\n}\n"
    "camera CursorCamera {\n property Ortho true;\n}\n"
    "renderservice RenderService {\n property Camera MainCamera;\n}\n"
    "renderservice EnvironmentService {\n}\nrenderservice AmbientRenderService {\n}\n"
    "renderservice AlphaService {\n}\nparticleservice ParticleService {\n}\n"
    "gamecursor MainCursor {\n property Camera CursorCamera;\n property BASEPATH Interface\\Cursors;\n"
    " state normal false arrow.ssm;\n state move false move.ssm;\n state rotate false rotate.ssm;\n"
    " state pitch false rotate.ssm;\n state zoom false zoom.ssm;\n state busy true zoom.ssm;\n}\n";

struct CameraWorld : GameWorld {
  CameraWorld() {
    ok = status::Succeeded(Init(kCameraScript));
    camera = manager->GetGameCamera();
    cursor = dynamic_cast<cEntity_GameCursor*>(manager->GetCursor());
  }
  // A packet handed straight to the game's input manager.
  CoreStatus Mouse(uint8_t pressed, uint8_t released, uint32_t time, int32_t x = 400, int32_t y = 300) {
    MousePacket p;
    p.pressed = pressed;
    p.released = released;
    p.timeStamp = time;
    p.x = x;
    p.y = y;
    return table.inputManager->OnMousePacket(&p);
  }
  CoreStatus Key(uint8_t scanCode, bool down) {
    KeyboardPacket p;
    p.scanCode = scanCode;
    p.released = down ? 0 : 1;
    return table.inputManager->OnKeyPacket(&p);
  }
  bool ok = false;
  cEntity_GameCamera* camera = nullptr;
  cEntity_GameCursor* cursor = nullptr;
};

}  // namespace gametest
