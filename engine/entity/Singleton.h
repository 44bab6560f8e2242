#pragma once
// Keeps one object of a class reachable without a registry: the object
// records itself in a class-wide pointer when it is made and clears it when
// it goes. A later object replaces the record; an object only clears the
// record that names itself, so a short-lived second one cannot leave the
// pointer dangling.
//
// The pointer is kept as the Singleton part and converted on the way out, so
// nothing converts to T before T's constructor has run.
template <typename T>
class Singleton {
 public:
  // The live object of class T, or null.
  static T* GetInstance() { return instance_ ? static_cast<T*>(instance_) : nullptr; }

 protected:
  Singleton() { instance_ = this; }
  ~Singleton() {
    if (instance_ == this) instance_ = nullptr;
  }
  Singleton(const Singleton&) = delete;
  Singleton& operator=(const Singleton&) = delete;

 private:
  static inline Singleton* instance_ = nullptr;
};
