#pragma once
// The GUI's input socket ("GUI"), first in the game's socket lists: it hands
// mouse packets to the game's cursor socket and then to the GUI, and key
// packets to the GUI.
#include "engine/entity/InputSocket.h"

class Panelis;

class GUIInputSocket : public cCore_Base_InputSocket {
 public:
  GUIInputSocket() : cCore_Base_InputSocket("GUI") {}

  CoreStatus OnMouse(MousePacket* packet) override;
  CoreStatus OnKey(KeyboardPacket* packet) override;
  CoreStatus OnLayer1Mouse(MousePacket*) override { return status::Fail; }
  CoreStatus OnLayer2Mouse(MousePacket*) override { return status::Fail; }
  // The GUI takes no key handlers from the binding manager.
  CoreStatus RegisterKeyHandlers(cGM_ConfigManager*) override { return status::Fail; }
  CoreStatus ReloadKeyHandlers(cGM_ConfigManager*) override { return status::Fail; }
  CoreStatus UnregisterKeyHandlers(cGM_ConfigManager*) override { return status::Fail; }

  void SetGUI(Panelis* gui) { gui_ = gui; }
  void SetCursorSocket(cCore_Base_InputSocket* cursor) { cursor_ = cursor; }
  cCore_Base_InputSocket* GetCursorSocket() const { return cursor_; }

 private:
  Panelis* gui_ = nullptr;
  cCore_Base_InputSocket* cursor_ = nullptr;
};
