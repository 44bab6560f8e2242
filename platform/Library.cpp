#include "platform/Library.h"

#include <dlfcn.h>
#include <link.h>

#include <set>
#include <vector>

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

bool IsGraphicsDriverPath(const std::string& path) {
  const size_t slash = path.rfind('/');
  const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  static const char* const kPrefixes[] = {"libGL", "libEGL", "libOpenGL", "libglapi", "libgallium", "libLLVM",
                                          "libdrm", "libgbm", "libvulkan"};
  for (const char* prefix : kPrefixes)
    if (name.rfind(prefix, 0) == 0) return true;
  return name.find("_dri.so") != std::string::npos || path.find("/dri/") != std::string::npos;
}

int KeepGraphicsDriversLoaded() {
  // Each library is pinned once; RTLD_NOLOAD never loads anything new, and
  // RTLD_NODELETE makes the dynamic loader ignore every later unload of it.
  static std::set<std::string> pinned;
  std::vector<std::string> found;
  dl_iterate_phdr(
      [](dl_phdr_info* info, size_t, void* out) {
        if (info->dlpi_name && *info->dlpi_name && IsGraphicsDriverPath(info->dlpi_name))
          static_cast<std::vector<std::string>*>(out)->push_back(info->dlpi_name);
        return 0;
      },
      &found);
  int count = 0;
  for (const std::string& path : found) {
    if (pinned.count(path)) continue;
    if (dlopen(path.c_str(), RTLD_NOW | RTLD_NOLOAD | RTLD_NODELETE)) {
      pinned.insert(path);
      ++count;
    }
  }
  return count;
}

}  // namespace platform
