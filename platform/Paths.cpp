#include "platform/Paths.h"

#include <cstdio>
#include <string_view>
#include <unordered_map>

#include "base/StringUtil.h"
#include "platform/Directory.h"

namespace platform {
namespace {

// Directory path -> (lower-case entry name -> real entry name).
using Listing = std::unordered_map<std::string, std::string>;
std::unordered_map<std::string, Listing>& Cache() {
  static std::unordered_map<std::string, Listing> cache;
  return cache;
}

const Listing* ReadListing(const std::string& dir, bool refresh) {
  auto& cache = Cache();
  auto it = cache.find(dir);
  if (it != cache.end() && !refresh) return &it->second;
  std::vector<DirEntry> entries;
  if (!ListDirectory(dir, &entries)) {
    cache.erase(dir);
    return nullptr;
  }
  Listing listing;
  for (const DirEntry& e : entries) {
    // Exact names win over case-folded collisions: keep the first in byte order.
    listing.emplace(str::ToLower(e.name), e.name);
  }
  return &(cache[dir] = std::move(listing));
}

// Finds `component` in `dir`, first exactly, then ignoring case.
bool FindComponent(const std::string& dir, const std::string& component, std::string* real) {
  const std::string probe = dir.empty() ? component : JoinPath(dir, component);
  if (FileExists(probe) || DirectoryExists(probe)) {
    *real = component;
    return true;
  }
  const std::string key = str::ToLower(component);
  for (bool refresh : {false, true}) {
    const Listing* listing = ReadListing(dir.empty() ? "." : dir, refresh);
    if (!listing) return false;
    auto it = listing->find(key);
    if (it != listing->end()) {
      *real = it->second;
      return true;
    }
  }
  return false;
}

bool Resolve(const std::string& name, std::string* resolved, const std::string& base, bool forWrite) {
  if (!resolved) return false;
  std::string path;
  std::string_view rest = name;
  if (!rest.empty() && (rest[0] == '/' || rest[0] == '\\')) {
    path.assign(1, '/');  // not a literal: GCC 12 warns falsely of an overlapping copy
  } else if (!base.empty()) {
    path = base;
    for (char& c : path) if (c == '\\') c = '/';
  }
  std::vector<std::string> parts = str::Split(rest, "\\/");
  std::vector<std::string> components;
  for (auto& p : parts) {
    if (p.empty() || p == ".") continue;
    components.push_back(std::move(p));
  }
  if (components.empty()) {
    *resolved = path.empty() ? "." : path;
    return DirectoryExists(*resolved);
  }
  for (size_t i = 0; i < components.size(); ++i) {
    const std::string& c = components[i];
    std::string real;
    if (c == "..") {
      real = c;
    } else if (!FindComponent(path, c, &real)) {
      if (forWrite && i + 1 == components.size()) {
        real = c;
      } else {
        return false;
      }
    }
    if (path.empty()) {
      path = real;
    } else if (path.back() == '/') {
      path += real;
    } else {
      path += '/';
      path += real;
    }
  }
  *resolved = path;
  return true;
}

}  // namespace

std::string JoinPath(const std::string& directory, const std::string& name) {
  std::string out = directory;
  for (char& c : out) if (c == '\\') c = '/';
  std::string n = name;
  for (char& c : n) if (c == '\\') c = '/';
  if (out.empty()) return n;
  if (!n.empty() && n[0] == '/') return n;
  if (out.back() != '/') out += '/';
  return out + n;
}

bool ResolvePath(const std::string& name, std::string* resolved, const std::string& base) {
  return Resolve(name, resolved, base, false);
}

bool ResolvePathForWrite(const std::string& name, std::string* resolved, const std::string& base) {
  return Resolve(name, resolved, base, true);
}

void ClearPathCache() { Cache().clear(); }

}  // namespace platform
