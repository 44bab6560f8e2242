#pragma once
// The mix-in of everything saved: an object hands out its state as one
// block (Save) and takes it back (LoadFromBlob). The caller owns every block
// handed out; a block handed in is only read during the call.
#include <cstdint>
#include <memory>

using SerialBlock = std::unique_ptr<uint8_t[]>;

class cSerialized_Object {
 public:
  cSerialized_Object() = default;
  virtual ~cSerialized_Object();
  cSerialized_Object(const cSerialized_Object&) = delete;
  cSerialized_Object& operator=(const cSerialized_Object&) = delete;

  // Allocates a block holding the object's state and hands it and its size out.
  virtual bool Save(SerialBlock* bytes, uint32_t* n) = 0;
  // Default: keeps a copy of the bytes as the object's blob (the blob held
  // before is freed). A size of 0 keeps what is held. Derived classes rebuild
  // their state instead.
  virtual bool LoadFromBlob(const uint8_t* bytes, uint32_t n);

  const uint8_t* GetBlob() const { return blob_.get(); }
  uint32_t GetBlobSize() const { return blobSize_; }
  // Takes ownership of a block as the blob.
  void SetBlob(SerialBlock bytes, uint32_t n);
  void FreeBlob();

 protected:
  SerialBlock blob_;
  uint32_t blobSize_ = 0;
};
