// Loads the engine as another host would: the shared library by path, its
// entry points by name, nothing linked in. Used by the shared-library tests
// and by the host programs they start.
#pragma once

#ifdef _WIN32
#include <windows.h>
#else
#include <dlfcn.h>
#endif

namespace orva::test {

class SharedEngine {
 public:
  explicit SharedEngine(const char* path) {
#ifdef _WIN32
    handle_ = LoadLibraryA(path);
#else
    handle_ = dlopen(path, RTLD_NOW | RTLD_LOCAL);
#endif
  }
  ~SharedEngine() { unload(); }
  SharedEngine(const SharedEngine&) = delete;
  SharedEngine& operator=(const SharedEngine&) = delete;

  bool loaded() const { return handle_ != nullptr; }
  template <typename F>
  F entry(const char* name) const {
#ifdef _WIN32
    return reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(handle_), name)));
#else
    return reinterpret_cast<F>(dlsym(handle_, name));
#endif
  }
  // A host that ends without unloading keeps the library until exit.
  void keepLoaded() { handle_ = nullptr; }

 private:
  void unload() {
    if (handle_ == nullptr) return;
#ifdef _WIN32
    FreeLibrary(static_cast<HMODULE>(handle_));
#else
    dlclose(handle_);
#endif
    handle_ = nullptr;
  }

  void* handle_ = nullptr;
};

}  // namespace orva::test
