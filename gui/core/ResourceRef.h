#pragma once
// One counted hold on a renderer resource (model, shader, font, mesh). Every
// handle a widget stores is one of these: storing takes a reference of its
// own, replacing or clearing gives exactly that reference back, so a shared
// resource is never released on behalf of another holder.
#include <utility>

template <typename T>
class ResourceRef {
 public:
  ResourceRef() = default;
  ~ResourceRef() { Reset(); }
  ResourceRef(const ResourceRef&) = delete;
  ResourceRef& operator=(const ResourceRef&) = delete;

  // Holds `resource` with a reference of its own (null clears).
  void Set(T* resource) {
    if (resource == ptr_) return;
    if (resource) resource->AddRef();
    Reset();
    ptr_ = resource;
  }
  // Takes over the creator's reference of a resource just made.
  void Adopt(T* resource) {
    Reset();
    ptr_ = resource;
  }
  // Gives the held reference back.
  void Reset() {
    T* old = std::exchange(ptr_, nullptr);
    if (old) old->Release();
  }
  T* Get() const { return ptr_; }
  explicit operator bool() const { return ptr_ != nullptr; }

 private:
  T* ptr_ = nullptr;
};
