#pragma once
// The smallest object a HandleArray can hold: it knows its position (its
// handle) in the one array that holds it, and that array.
#include <cstdint>

class HandleArray;

class HandleBase {
 public:
  HandleBase() = default;
  // Leaves handle -1 and no owner. It does not take the object out of its
  // array: whoever destroys a held object removes it first
  // (HandleArray::RemoveAndDelete does both).
  virtual ~HandleBase();
  HandleBase(const HandleBase&) = delete;
  HandleBase& operator=(const HandleBase&) = delete;

  // Adds this object to `array` (nothing for null).
  virtual void Register(HandleArray* array);

  int32_t GetHandle() const { return handle_; }
  HandleArray* GetOwner() const { return owner_; }

 private:
  friend class HandleArray;
  int32_t handle_ = -1;          // position in owner_, -1 when not held
  HandleArray* owner_ = nullptr;  // the array that holds this object
};
