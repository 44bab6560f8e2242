#pragma once
// Directory listing and wildcard matching for directory scans.
#include <string>
#include <string_view>
#include <vector>

namespace platform {

struct DirEntry {
  std::string name;  // file name only
  bool isDirectory = false;
};

// Lists a directory (without "." and ".."), sorted by name byte order so scans
// are reproducible. Returns false when the directory cannot be read.
bool ListDirectory(const std::string& path, std::vector<DirEntry>* entries);

// '*' and '?' wildcards, compared ignoring case ("*.so", "*.KV9").
bool WildcardMatch(std::string_view pattern, std::string_view name);

bool FileExists(const std::string& path);
bool DirectoryExists(const std::string& path);
bool CreateDirectories(const std::string& path);

}  // namespace platform
