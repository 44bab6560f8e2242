#include "engine/entity/InputSocketManager.h"

#include <algorithm>

#include "engine/services/InputPackets.h"
#include "engine/entity/InputSocket.h"
#include "base/StringUtil.h"

cCore_Base_InputMGR::~cCore_Base_InputMGR() {
  ReleaseMouse();
  DetachAll(Family::Mouse, 0);
  DetachAll(Family::Key, 0);
  for (int32_t layer = 0; layer < GetLayer1Count(); ++layer) DetachAll(Family::Layer1, layer);
  for (int32_t layer = 0; layer < GetLayer2Count(); ++layer) DetachAll(Family::Layer2, layer);
}

void cCore_Base_InputMGR::DetachAll(Family family, int32_t layer) {
  SocketList* list = ListOf(family, layer);
  if (!list) return;
  // Take each socket off before telling it, so a notice that looks back
  // into the manager finds it gone.
  while (!list->empty()) {
    cCore_Base_InputSocket* s = list->front();
    list->pop_front();
    Detach(family, layer, s);
  }
}

cCore_Base_InputMGR::SocketList* cCore_Base_InputMGR::ListOf(Family family, int32_t layer) {
  switch (family) {
    case Family::Mouse:
      return &mouseList_;
    case Family::Key:
      return &keyList_;
    case Family::Layer1:
      return layer >= 0 && layer < GetLayer1Count() ? &layers1_[static_cast<size_t>(layer)] : nullptr;
    case Family::Layer2:
      return layer >= 0 && layer < GetLayer2Count() ? &layers2_[static_cast<size_t>(layer)] : nullptr;
  }
  return nullptr;
}

CoreStatus cCore_Base_InputMGR::Place(Family family, int32_t layer, cCore_Base_InputSocket* socket, Where where,
                                      cCore_Base_InputSocket* anchor) {
  if (!socket) return inputstatus::AddFailed;
  SocketList* list = ListOf(family, layer);
  if (!list) return status::Fail;
  // A socket is listed once per list: its destruction removes it once.
  if (std::find(list->begin(), list->end(), socket) != list->end()) return inputstatus::AddFailed;

  CoreStatus told = status::Fail;
  switch (family) {
    case Family::Mouse:
      told = socket->OnAddedToMouseList(this);
      break;
    case Family::Key:
      told = socket->OnAddedToKeyList(this);
      break;
    case Family::Layer1:
      told = socket->OnAddedToLayer1(this);
      break;
    case Family::Layer2:
      told = socket->OnAddedToLayer2(this);
      break;
  }
  if (status::Failed(told)) {
    // A socket that declines keeps no pointer to a manager that does not
    // list it.
    if (family == Family::Mouse && socket->mouseMgr_ == this) socket->mouseMgr_ = nullptr;
    if (family == Family::Key && socket->keyMgr_ == this) socket->keyMgr_ = nullptr;
    if (family == Family::Layer1 && socket->layer1Indexes_.empty() && socket->layer1Mgr_ == this) {
      socket->layer1Mgr_ = nullptr;
    }
    if (family == Family::Layer2 && socket->layer2Indexes_.empty() && socket->layer2Mgr_ == this) {
      socket->layer2Mgr_ = nullptr;
    }
    return inputstatus::AddFailed;
  }

  auto at = list->end();
  if (where == Where::Front) {
    at = list->begin();
  } else if (where == Where::After || where == Where::Before) {
    auto it = std::find(list->begin(), list->end(), anchor);
    if (anchor && it != list->end()) at = where == Where::After ? it + 1 : it;
  }
  list->insert(at, socket);
  if (family == Family::Layer1) socket->layer1Indexes_.push_back(layer);
  if (family == Family::Layer2) socket->layer2Indexes_.push_back(layer);
  return status::Ok;
}

CoreStatus cCore_Base_InputMGR::PlaceByName(Family family, int32_t layer, const std::string& name,
                                            cCore_Base_InputSocket* socket, Where where) {
  cCore_Base_InputSocket* anchor = nullptr;
  if (status::Succeeded(Find(family, layer, name, &anchor))) return Place(family, layer, socket, where, anchor);
  return Place(family, layer, socket, Where::Back, nullptr);
}

CoreStatus cCore_Base_InputMGR::Find(Family family, int32_t layer, const std::string& name,
                                     cCore_Base_InputSocket** out) {
  if (out) *out = nullptr;
  SocketList* list = ListOf(family, layer);
  if (!list) return status::Fail;
  for (cCore_Base_InputSocket* s : *list) {
    if (str::EqualsNoCase(s->name_, name)) {
      if (out) *out = s;
      return status::Ok;
    }
  }
  return status::Fail;
}

CoreStatus cCore_Base_InputMGR::Remove(Family family, int32_t layer, cCore_Base_InputSocket* socket) {
  SocketList* list = ListOf(family, layer);
  if (!list || !socket) return status::Fail;
  auto it = std::find(list->begin(), list->end(), socket);
  if (it == list->end()) return status::Fail;
  list->erase(it);
  Detach(family, layer, socket);
  return status::Ok;
}

CoreStatus cCore_Base_InputMGR::RemoveByName(Family family, int32_t layer, const std::string& name) {
  if (!ListOf(family, layer)) return status::Fail;
  cCore_Base_InputSocket* found = nullptr;
  if (status::Failed(Find(family, layer, name, &found))) return inputstatus::NoSuchSocket;
  return Remove(family, layer, found);
}

void cCore_Base_InputMGR::Detach(Family family, int32_t layer, cCore_Base_InputSocket* socket) {
  switch (family) {
    case Family::Mouse:
      // A socket that leaves the mouse list no longer holds the mouse.
      ReleaseCaptureOf(socket);
      socket->OnRemovedFromMouseList();
      if (socket->mouseMgr_ == this) socket->mouseMgr_ = nullptr;
      break;
    case Family::Key:
      socket->OnRemovedFromKeyList();
      if (socket->keyMgr_ == this) socket->keyMgr_ = nullptr;
      break;
    case Family::Layer1: {
      socket->OnRemovedFromLayer1();
      auto& idx = socket->layer1Indexes_;
      if (auto it = std::find(idx.begin(), idx.end(), layer); it != idx.end()) idx.erase(it);
      if (idx.empty() && socket->layer1Mgr_ == this) socket->layer1Mgr_ = nullptr;
      break;
    }
    case Family::Layer2: {
      socket->OnRemovedFromLayer2();
      auto& idx = socket->layer2Indexes_;
      if (auto it = std::find(idx.begin(), idx.end(), layer); it != idx.end()) idx.erase(it);
      if (idx.empty() && socket->layer2Mgr_ == this) socket->layer2Mgr_ = nullptr;
      break;
    }
  }
}

// Mouse list.
CoreStatus cCore_Base_InputMGR::AddMouseSocket(cCore_Base_InputSocket* s) {
  return Place(Family::Mouse, 0, s, Where::Back, nullptr);
}
CoreStatus cCore_Base_InputMGR::AddMouseSocketFront(cCore_Base_InputSocket* s) {
  return Place(Family::Mouse, 0, s, Where::Front, nullptr);
}
CoreStatus cCore_Base_InputMGR::InsertMouseSocketAfterName(const std::string& n, cCore_Base_InputSocket* s) {
  return PlaceByName(Family::Mouse, 0, n, s, Where::After);
}
CoreStatus cCore_Base_InputMGR::InsertMouseSocketAfter(cCore_Base_InputSocket* a, cCore_Base_InputSocket* s) {
  return Place(Family::Mouse, 0, s, Where::After, a);
}
CoreStatus cCore_Base_InputMGR::InsertMouseSocketBeforeName(const std::string& n, cCore_Base_InputSocket* s) {
  return PlaceByName(Family::Mouse, 0, n, s, Where::Before);
}
CoreStatus cCore_Base_InputMGR::InsertMouseSocketBefore(cCore_Base_InputSocket* a, cCore_Base_InputSocket* s) {
  return Place(Family::Mouse, 0, s, Where::Before, a);
}
CoreStatus cCore_Base_InputMGR::FindMouseSocket(const std::string& n, cCore_Base_InputSocket** out) {
  return Find(Family::Mouse, 0, n, out);
}
CoreStatus cCore_Base_InputMGR::RemoveMouseSocketByName(const std::string& n) {
  return RemoveByName(Family::Mouse, 0, n);
}
CoreStatus cCore_Base_InputMGR::RemoveMouseSocket(cCore_Base_InputSocket* s) { return Remove(Family::Mouse, 0, s); }

CoreStatus cCore_Base_InputMGR::CaptureMouse(cCore_Base_InputSocket* socket) {
  if (captured_ && captured_ != socket && captured_->captureMgr_ == this) captured_->captureMgr_ = nullptr;
  captured_ = socket;
  if (socket) socket->captureMgr_ = this;
  return status::Ok;
}

CoreStatus cCore_Base_InputMGR::ReleaseMouse(cCore_Base_InputSocket*) {
  if (captured_ && captured_->captureMgr_ == this) captured_->captureMgr_ = nullptr;
  captured_ = nullptr;
  return status::Ok;
}

void cCore_Base_InputMGR::ReleaseCaptureOf(cCore_Base_InputSocket* socket) {
  if (socket && captured_ == socket) ReleaseMouse();
}

// Key list.
CoreStatus cCore_Base_InputMGR::AddKeySocket(cCore_Base_InputSocket* s) {
  return Place(Family::Key, 0, s, Where::Back, nullptr);
}
CoreStatus cCore_Base_InputMGR::AddKeySocketFront(cCore_Base_InputSocket* s) {
  return Place(Family::Key, 0, s, Where::Front, nullptr);
}
CoreStatus cCore_Base_InputMGR::InsertKeySocketAfterName(const std::string& n, cCore_Base_InputSocket* s) {
  return PlaceByName(Family::Key, 0, n, s, Where::After);
}
CoreStatus cCore_Base_InputMGR::InsertKeySocketAfter(cCore_Base_InputSocket* a, cCore_Base_InputSocket* s) {
  return Place(Family::Key, 0, s, Where::After, a);
}
CoreStatus cCore_Base_InputMGR::InsertKeySocketBeforeName(const std::string& n, cCore_Base_InputSocket* s) {
  return PlaceByName(Family::Key, 0, n, s, Where::Before);
}
CoreStatus cCore_Base_InputMGR::InsertKeySocketBefore(cCore_Base_InputSocket* a, cCore_Base_InputSocket* s) {
  return Place(Family::Key, 0, s, Where::Before, a);
}
CoreStatus cCore_Base_InputMGR::FindKeySocket(const std::string& n, cCore_Base_InputSocket** out) {
  return Find(Family::Key, 0, n, out);
}
CoreStatus cCore_Base_InputMGR::RemoveKeySocketByName(const std::string& n) { return RemoveByName(Family::Key, 0, n); }
CoreStatus cCore_Base_InputMGR::RemoveKeySocket(cCore_Base_InputSocket* s) { return Remove(Family::Key, 0, s); }

// Layered list 1.
CoreStatus cCore_Base_InputMGR::AddLayer1Socket(cCore_Base_InputSocket* s, int32_t l) {
  return Place(Family::Layer1, l, s, Where::Back, nullptr);
}
CoreStatus cCore_Base_InputMGR::AddLayer1SocketFront(cCore_Base_InputSocket* s, int32_t l) {
  return Place(Family::Layer1, l, s, Where::Front, nullptr);
}
CoreStatus cCore_Base_InputMGR::InsertLayer1SocketAfterName(const std::string& n, cCore_Base_InputSocket* s,
                                                            int32_t l) {
  return PlaceByName(Family::Layer1, l, n, s, Where::After);
}
CoreStatus cCore_Base_InputMGR::InsertLayer1SocketAfter(cCore_Base_InputSocket* a, cCore_Base_InputSocket* s,
                                                        int32_t l) {
  return Place(Family::Layer1, l, s, Where::After, a);
}
CoreStatus cCore_Base_InputMGR::InsertLayer1SocketBeforeName(const std::string& n, cCore_Base_InputSocket* s,
                                                             int32_t l) {
  return PlaceByName(Family::Layer1, l, n, s, Where::Before);
}
CoreStatus cCore_Base_InputMGR::InsertLayer1SocketBefore(cCore_Base_InputSocket* a, cCore_Base_InputSocket* s,
                                                         int32_t l) {
  return Place(Family::Layer1, l, s, Where::Before, a);
}
CoreStatus cCore_Base_InputMGR::FindLayer1Socket(const std::string& n, cCore_Base_InputSocket** out, int32_t l) {
  return Find(Family::Layer1, l, n, out);
}
CoreStatus cCore_Base_InputMGR::RemoveLayer1SocketByName(const std::string& n, int32_t l) {
  return RemoveByName(Family::Layer1, l, n);
}
CoreStatus cCore_Base_InputMGR::RemoveLayer1Socket(cCore_Base_InputSocket* s, int32_t l) {
  return Remove(Family::Layer1, l, s);
}

// Layered list 2.
CoreStatus cCore_Base_InputMGR::AddLayer2Socket(cCore_Base_InputSocket* s, int32_t l) {
  return Place(Family::Layer2, l, s, Where::Back, nullptr);
}
CoreStatus cCore_Base_InputMGR::AddLayer2SocketFront(cCore_Base_InputSocket* s, int32_t l) {
  return Place(Family::Layer2, l, s, Where::Front, nullptr);
}
CoreStatus cCore_Base_InputMGR::InsertLayer2SocketAfterName(const std::string& n, cCore_Base_InputSocket* s,
                                                            int32_t l) {
  return PlaceByName(Family::Layer2, l, n, s, Where::After);
}
CoreStatus cCore_Base_InputMGR::InsertLayer2SocketAfter(cCore_Base_InputSocket* a, cCore_Base_InputSocket* s,
                                                        int32_t l) {
  return Place(Family::Layer2, l, s, Where::After, a);
}
CoreStatus cCore_Base_InputMGR::InsertLayer2SocketBeforeName(const std::string& n, cCore_Base_InputSocket* s,
                                                             int32_t l) {
  return PlaceByName(Family::Layer2, l, n, s, Where::Before);
}
CoreStatus cCore_Base_InputMGR::InsertLayer2SocketBefore(cCore_Base_InputSocket* a, cCore_Base_InputSocket* s,
                                                         int32_t l) {
  return Place(Family::Layer2, l, s, Where::Before, a);
}
CoreStatus cCore_Base_InputMGR::FindLayer2Socket(const std::string& n, cCore_Base_InputSocket** out, int32_t l) {
  return Find(Family::Layer2, l, n, out);
}
CoreStatus cCore_Base_InputMGR::RemoveLayer2SocketByName(const std::string& n, int32_t l) {
  return RemoveByName(Family::Layer2, l, n);
}
CoreStatus cCore_Base_InputMGR::RemoveLayer2Socket(cCore_Base_InputSocket* s, int32_t l) {
  return Remove(Family::Layer2, l, s);
}

int32_t cCore_Base_InputMGR::AddLayer1() {
  layers1_.emplace_back();
  return GetLayer1Count() - 1;
}

int32_t cCore_Base_InputMGR::AddLayer2() {
  layers2_.emplace_back();
  return GetLayer2Count() - 1;
}

CoreStatus cCore_Base_InputMGR::OnMousePacket(MousePacket* packet) {
  if (captured_) return captured_->OnMouse(packet);
  // By index, re-reading the size: a socket may leave the list while it
  // handles the packet.
  for (size_t i = 0; i < mouseList_.size(); ++i) {
    const CoreStatus result = mouseList_[i]->OnMouse(packet);
    if (status::Succeeded(result)) return result;
  }
  return status::Fail;
}

CoreStatus cCore_Base_InputMGR::OnKeyPacket(KeyboardPacket* packet) {
  for (size_t i = 0; i < keyList_.size(); ++i) {
    const CoreStatus result = keyList_[i]->OnKey(packet);
    if (status::Succeeded(result)) return result;
  }
  return status::Fail;
}
