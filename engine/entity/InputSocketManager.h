#pragma once
// The input-socket manager: ordered lists of input sockets that receive the
// input library's packets. Mouse packets go to the socket that captured the
// mouse, or else down the mouse list until a socket answers 0 or more; key
// packets go down the key list the same way (keys are never captured). Two
// layered lists (layers of socket lists) are kept for their users and take
// part in neither dispatch. The manager holds sockets by pointer and owns
// none of them.
#include <cstdint>
#include <deque>
#include <string>

#include "base/Status.h"

class cCore_Base_InputSocket;
struct KeyboardPacket;
struct MousePacket;

namespace inputstatus {
// A socket could not be added (none given, already listed, or it declined).
inline constexpr CoreStatus AddFailed = static_cast<CoreStatus>(0x80200001u);
// No socket of that name to remove.
inline constexpr CoreStatus NoSuchSocket = static_cast<CoreStatus>(0x80200002u);
}  // namespace inputstatus

class cCore_Base_InputMGR {
 public:
  cCore_Base_InputMGR() = default;
  // Tells every socket still listed that it was removed and forgets it.
  virtual ~cCore_Base_InputMGR();
  cCore_Base_InputMGR(const cCore_Base_InputMGR&) = delete;
  cCore_Base_InputMGR& operator=(const cCore_Base_InputMGR&) = delete;

  // Mouse list. Adding tells the socket (OnAddedToMouseList); a negative
  // answer leaves it off the list. Inserting next to a name or socket that
  // is not listed appends at the back. Removing tells it
  // (OnRemovedFromMouseList) and releases a capture it holds.
  virtual CoreStatus AddMouseSocket(cCore_Base_InputSocket* socket);
  virtual CoreStatus AddMouseSocketFront(cCore_Base_InputSocket* socket);
  virtual CoreStatus InsertMouseSocketAfterName(const std::string& name, cCore_Base_InputSocket* socket);
  virtual CoreStatus InsertMouseSocketAfter(cCore_Base_InputSocket* anchor, cCore_Base_InputSocket* socket);
  virtual CoreStatus InsertMouseSocketBeforeName(const std::string& name, cCore_Base_InputSocket* socket);
  virtual CoreStatus InsertMouseSocketBefore(cCore_Base_InputSocket* anchor, cCore_Base_InputSocket* socket);
  // Front to back, names compared ignoring case. 0x80004005 and null when
  // none matches.
  virtual CoreStatus FindMouseSocket(const std::string& name, cCore_Base_InputSocket** out);
  virtual CoreStatus RemoveMouseSocketByName(const std::string& name);
  // 0x80004005 when the socket is not listed.
  virtual CoreStatus RemoveMouseSocket(cCore_Base_InputSocket* socket);
  // Every mouse packet goes to this socket alone until released.
  virtual CoreStatus CaptureMouse(cCore_Base_InputSocket* socket);
  virtual CoreStatus ReleaseMouse(cCore_Base_InputSocket* ignored = nullptr);

  // Key list: the same operations, telling with OnAddedToKeyList and
  // OnRemovedFromKeyList.
  virtual CoreStatus AddKeySocket(cCore_Base_InputSocket* socket);
  virtual CoreStatus AddKeySocketFront(cCore_Base_InputSocket* socket);
  virtual CoreStatus InsertKeySocketAfterName(const std::string& name, cCore_Base_InputSocket* socket);
  virtual CoreStatus InsertKeySocketAfter(cCore_Base_InputSocket* anchor, cCore_Base_InputSocket* socket);
  virtual CoreStatus InsertKeySocketBeforeName(const std::string& name, cCore_Base_InputSocket* socket);
  virtual CoreStatus InsertKeySocketBefore(cCore_Base_InputSocket* anchor, cCore_Base_InputSocket* socket);
  virtual CoreStatus FindKeySocket(const std::string& name, cCore_Base_InputSocket** out);
  virtual CoreStatus RemoveKeySocketByName(const std::string& name);
  virtual CoreStatus RemoveKeySocket(cCore_Base_InputSocket* socket);

  // Layered list 1: the same operations on one layer; a layer number
  // outside the existing layers gives 0x80004005.
  virtual CoreStatus AddLayer1Socket(cCore_Base_InputSocket* socket, int32_t layer);
  virtual CoreStatus AddLayer1SocketFront(cCore_Base_InputSocket* socket, int32_t layer);
  virtual CoreStatus InsertLayer1SocketAfterName(const std::string& name, cCore_Base_InputSocket* socket,
                                                 int32_t layer);
  virtual CoreStatus InsertLayer1SocketAfter(cCore_Base_InputSocket* anchor, cCore_Base_InputSocket* socket,
                                             int32_t layer);
  virtual CoreStatus InsertLayer1SocketBeforeName(const std::string& name, cCore_Base_InputSocket* socket,
                                                  int32_t layer);
  virtual CoreStatus InsertLayer1SocketBefore(cCore_Base_InputSocket* anchor, cCore_Base_InputSocket* socket,
                                              int32_t layer);
  virtual CoreStatus FindLayer1Socket(const std::string& name, cCore_Base_InputSocket** out, int32_t layer);
  virtual CoreStatus RemoveLayer1SocketByName(const std::string& name, int32_t layer);
  virtual CoreStatus RemoveLayer1Socket(cCore_Base_InputSocket* socket, int32_t layer);

  // Layered list 2.
  virtual CoreStatus AddLayer2Socket(cCore_Base_InputSocket* socket, int32_t layer);
  virtual CoreStatus AddLayer2SocketFront(cCore_Base_InputSocket* socket, int32_t layer);
  virtual CoreStatus InsertLayer2SocketAfterName(const std::string& name, cCore_Base_InputSocket* socket,
                                                 int32_t layer);
  virtual CoreStatus InsertLayer2SocketAfter(cCore_Base_InputSocket* anchor, cCore_Base_InputSocket* socket,
                                             int32_t layer);
  virtual CoreStatus InsertLayer2SocketBeforeName(const std::string& name, cCore_Base_InputSocket* socket,
                                                  int32_t layer);
  virtual CoreStatus InsertLayer2SocketBefore(cCore_Base_InputSocket* anchor, cCore_Base_InputSocket* socket,
                                              int32_t layer);
  virtual CoreStatus FindLayer2Socket(const std::string& name, cCore_Base_InputSocket** out, int32_t layer);
  virtual CoreStatus RemoveLayer2SocketByName(const std::string& name, int32_t layer);
  virtual CoreStatus RemoveLayer2Socket(cCore_Base_InputSocket* socket, int32_t layer);

  // Packet receivers, called by the input library once per packet.
  virtual CoreStatus OnMousePacket(MousePacket* packet);
  virtual CoreStatus OnKeyPacket(KeyboardPacket* packet);

  // Appends an empty layer and answers its number.
  int32_t AddLayer1();
  int32_t AddLayer2();
  int32_t GetLayer1Count() const { return static_cast<int32_t>(layers1_.size()); }
  int32_t GetLayer2Count() const { return static_cast<int32_t>(layers2_.size()); }

  cCore_Base_InputSocket* GetCapturedSocket() const { return captured_; }
  const std::deque<cCore_Base_InputSocket*>& GetMouseList() const { return mouseList_; }
  const std::deque<cCore_Base_InputSocket*>& GetKeyList() const { return keyList_; }

  // Ends the capture when `socket` holds it (a socket that goes away).
  void ReleaseCaptureOf(cCore_Base_InputSocket* socket);

 private:
  enum class Family { Mouse, Key, Layer1, Layer2 };
  enum class Where { Back, Front, After, Before };
  using SocketList = std::deque<cCore_Base_InputSocket*>;

  SocketList* ListOf(Family family, int32_t layer);
  CoreStatus Place(Family family, int32_t layer, cCore_Base_InputSocket* socket, Where where,
                   cCore_Base_InputSocket* anchor);
  CoreStatus PlaceByName(Family family, int32_t layer, const std::string& name, cCore_Base_InputSocket* socket,
                         Where where);
  CoreStatus Find(Family family, int32_t layer, const std::string& name, cCore_Base_InputSocket** out);
  CoreStatus Remove(Family family, int32_t layer, cCore_Base_InputSocket* socket);
  CoreStatus RemoveByName(Family family, int32_t layer, const std::string& name);
  // Tells the socket it left the list and clears the matching back-pointer.
  void Detach(Family family, int32_t layer, cCore_Base_InputSocket* socket);
  // Empties one list, detaching each socket in turn.
  void DetachAll(Family family, int32_t layer);

  SocketList mouseList_;
  SocketList keyList_;
  std::deque<SocketList> layers1_;
  std::deque<SocketList> layers2_;
  cCore_Base_InputSocket* captured_ = nullptr;
};
