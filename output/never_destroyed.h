// Storage for the process-wide records that a playback thread may still use
// while the process exits: the object lives in a union whose destructor
// does nothing, so it is never destroyed. A host may leave without shutting
// the engine down; a thread that has not finished by then keeps valid
// memory until the system ends it, and a joinable std::thread inside is
// never destroyed (which would end the process in std::terminate).
// A reference bound to `value` is constant-initialized, so other files may
// use it from the start.
#pragma once

#include <utility>

namespace orva {

template <typename T>
union NeverDestroyed {
  T value;

  template <typename... Args>
  explicit NeverDestroyed(Args&&... args) : value(std::forward<Args>(args)...) {}
  NeverDestroyed(const NeverDestroyed&) = delete;
  NeverDestroyed& operator=(const NeverDestroyed&) = delete;
  ~NeverDestroyed() {}

  T& get() { return value; }
};

}  // namespace orva
