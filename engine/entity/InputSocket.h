#pragma once
// An input socket: a mix-in that any object carries to receive mouse and key
// packets from an input-socket manager. The manager offers each packet to its
// sockets in order until one answers 0 or more; the base declines mouse
// packets and answers keys through its key-handler array.
//
// A socket remembers the managers it was added to, so that its destruction
// takes it out of every list (and releases a mouse capture it holds); a
// manager clears those back-pointers when it removes the socket.
#include <cstdint>
#include <string>
#include <vector>

#include "engine/config/KeyBinding.h"
#include "base/Status.h"

class cCore_Base_InputMGR;
class cGM_ConfigManager;
struct KeyboardPacket;
struct MousePacket;

// One key handler of a socket: the binding record whose key fields are
// compared with each packet, and the handler run on a match.
struct KeyBindingRef {
  KeyBinding* binding = nullptr;  // not owned (the configuration manager's)
  KeyHandler handler = nullptr;
};

class cCore_Base_InputSocket {
 public:
  explicit cCore_Base_InputSocket(std::string socketName);
  // Removes itself from every manager that holds it, then frees its
  // key-handler entries.
  virtual ~cCore_Base_InputSocket();
  cCore_Base_InputSocket(const cCore_Base_InputSocket&) = delete;
  cCore_Base_InputSocket& operator=(const cCore_Base_InputSocket&) = delete;

  // Declines (0x80004005).
  virtual CoreStatus OnMouse(MousePacket* packet);
  // Records the manager; 0. A negative answer keeps the socket off the list.
  virtual CoreStatus OnAddedToMouseList(cCore_Base_InputMGR* manager);
  // Forgets the manager; 0.
  virtual CoreStatus OnRemovedFromMouseList();
  // The first key handler whose binding's scan code, released flag and
  // modifier byte all equal the packet's runs and its status is the answer;
  // none (or no handlers): 0x80004005.
  virtual CoreStatus OnKey(KeyboardPacket* packet);
  virtual CoreStatus OnAddedToKeyList(cCore_Base_InputMGR* manager);
  virtual CoreStatus OnRemovedFromKeyList();
  virtual CoreStatus OnLayer1Mouse(MousePacket* packet);
  virtual CoreStatus OnAddedToLayer1(cCore_Base_InputMGR* manager);
  virtual CoreStatus OnRemovedFromLayer1();
  virtual CoreStatus OnLayer2Mouse(MousePacket* packet);
  virtual CoreStatus OnAddedToLayer2(cCore_Base_InputMGR* manager);
  virtual CoreStatus OnRemovedFromLayer2();
  // Every concrete socket says how it takes its key handlers from the
  // key-binding manager, reloads them and hands them back.
  virtual CoreStatus RegisterKeyHandlers(cGM_ConfigManager* bindings) = 0;
  virtual CoreStatus ReloadKeyHandlers(cGM_ConfigManager* bindings) = 0;
  virtual CoreStatus UnregisterKeyHandlers(cGM_ConfigManager* bindings) = 0;

  std::string GetName() const { return name_; }

  // Appends a key handler (a null binding or handler is ignored).
  void AddKeyHandler(KeyBinding* binding, KeyHandler handler);
  void ClearKeyHandlers() { keyHandlers_.clear(); }
  const std::vector<KeyBindingRef>& GetKeyHandlers() const { return keyHandlers_; }

  cCore_Base_InputMGR* GetMouseManager() const { return mouseMgr_; }
  cCore_Base_InputMGR* GetKeyManager() const { return keyMgr_; }
  cCore_Base_InputMGR* GetLayer1Manager() const { return layer1Mgr_; }
  cCore_Base_InputMGR* GetLayer2Manager() const { return layer2Mgr_; }
  const std::vector<int32_t>& GetLayer1Indexes() const { return layer1Indexes_; }
  const std::vector<int32_t>& GetLayer2Indexes() const { return layer2Indexes_; }

 private:
  friend class cCore_Base_InputMGR;

  std::vector<int32_t> layer1Indexes_;  // layers of list 1 holding this socket
  std::vector<int32_t> layer2Indexes_;
  cCore_Base_InputMGR* mouseMgr_ = nullptr;
  cCore_Base_InputMGR* keyMgr_ = nullptr;
  cCore_Base_InputMGR* layer1Mgr_ = nullptr;
  cCore_Base_InputMGR* layer2Mgr_ = nullptr;
  cCore_Base_InputMGR* captureMgr_ = nullptr;  // the manager this socket holds the mouse of
  std::vector<KeyBindingRef> keyHandlers_;
  std::string name_;
};
