#include "gui/plugin/GUIInputSocket.h"

#include "engine/services/Panelis.h"

CoreStatus GUIInputSocket::OnMouse(MousePacket* packet) {
  if (cursor_) cursor_->OnMouse(packet);  // the cursor follows every packet; its answer does not count
  return gui_ ? gui_->OnMouse(packet) : status::Fail;
}

CoreStatus GUIInputSocket::OnKey(KeyboardPacket* packet) { return gui_ ? gui_->OnKey(packet) : status::Fail; }
