#include "platform/Library.h"

#include <dlfcn.h>

namespace platform {
namespace {
std::string g_lastError;
void Remember() {
  const char* e = dlerror();
  g_lastError = e ? e : "";
}
}  // namespace

LibraryHandle LoadLibrary(const std::string& path) {
  // RTLD_LOCAL keeps plug-ins' own symbols apart; the classes they share live
  // in the engine core, which both sides link.
  void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!handle) Remember();
  return handle;
}

void* GetProcAddress(LibraryHandle library, const char* symbol) {
  if (!library || !symbol) return nullptr;
  dlerror();
  void* address = dlsym(library, symbol);
  if (!address) Remember();
  return address;
}

bool FreeLibrary(LibraryHandle library) {
  if (!library) return false;
  if (dlclose(library) != 0) {
    Remember();
    return false;
  }
  return true;
}

std::string LibraryError() { return g_lastError; }

}  // namespace platform
