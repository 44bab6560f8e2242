#include "engine/entity/InputSocket.h"

#include "engine/services/InputPackets.h"
#include "engine/entity/InputSocketManager.h"

cCore_Base_InputSocket::cCore_Base_InputSocket(std::string socketName) : name_(std::move(socketName)) {}

cCore_Base_InputSocket::~cCore_Base_InputSocket() {
  // Each removal clears the matching back-pointer, so a manager is asked
  // once per list even when a notice below were to re-add the socket.
  if (captureMgr_) captureMgr_->ReleaseCaptureOf(this);
  if (mouseMgr_) mouseMgr_->RemoveMouseSocket(this);
  mouseMgr_ = nullptr;
  if (keyMgr_) keyMgr_->RemoveKeySocket(this);
  keyMgr_ = nullptr;
  while (layer1Mgr_ && !layer1Indexes_.empty()) {
    const int32_t layer = layer1Indexes_.back();
    if (status::Failed(layer1Mgr_->RemoveLayer1Socket(this, layer))) layer1Indexes_.pop_back();
  }
  layer1Mgr_ = nullptr;
  while (layer2Mgr_ && !layer2Indexes_.empty()) {
    const int32_t layer = layer2Indexes_.back();
    if (status::Failed(layer2Mgr_->RemoveLayer2Socket(this, layer))) layer2Indexes_.pop_back();
  }
  layer2Mgr_ = nullptr;
  keyHandlers_.clear();
}

CoreStatus cCore_Base_InputSocket::OnMouse(MousePacket*) { return status::Fail; }

CoreStatus cCore_Base_InputSocket::OnAddedToMouseList(cCore_Base_InputMGR* manager) {
  mouseMgr_ = manager;
  return status::Ok;
}

CoreStatus cCore_Base_InputSocket::OnRemovedFromMouseList() {
  mouseMgr_ = nullptr;
  return status::Ok;
}

CoreStatus cCore_Base_InputSocket::OnKey(KeyboardPacket* packet) {
  if (!packet || keyHandlers_.empty()) return status::Fail;
  for (const KeyBindingRef& ref : keyHandlers_) {
    const KeyBinding* b = ref.binding;
    if (b->scanCode == packet->scanCode && b->released == packet->released && b->modifiers == packet->modifiers) {
      return ref.handler(packet);
    }
  }
  return status::Fail;
}

CoreStatus cCore_Base_InputSocket::OnAddedToKeyList(cCore_Base_InputMGR* manager) {
  keyMgr_ = manager;
  return status::Ok;
}

CoreStatus cCore_Base_InputSocket::OnRemovedFromKeyList() {
  keyMgr_ = nullptr;
  return status::Ok;
}

CoreStatus cCore_Base_InputSocket::OnLayer1Mouse(MousePacket*) { return status::Fail; }

CoreStatus cCore_Base_InputSocket::OnAddedToLayer1(cCore_Base_InputMGR* manager) {
  layer1Mgr_ = manager;
  return status::Ok;
}

// A socket may sit in several layers; the manager clears the back-pointer
// once the last of them lets it go.
CoreStatus cCore_Base_InputSocket::OnRemovedFromLayer1() { return status::Ok; }

CoreStatus cCore_Base_InputSocket::OnLayer2Mouse(MousePacket*) { return status::Fail; }

CoreStatus cCore_Base_InputSocket::OnAddedToLayer2(cCore_Base_InputMGR* manager) {
  layer2Mgr_ = manager;
  return status::Ok;
}

CoreStatus cCore_Base_InputSocket::OnRemovedFromLayer2() { return status::Ok; }

void cCore_Base_InputSocket::AddKeyHandler(KeyBinding* binding, KeyHandler handler) {
  if (!binding || !handler) return;
  keyHandlers_.push_back(KeyBindingRef{binding, handler});
}
