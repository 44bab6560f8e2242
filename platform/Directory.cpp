#include "platform/Directory.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "base/StringUtil.h"

namespace platform {
namespace fs = std::filesystem;

bool ListDirectory(const std::string& path, std::vector<DirEntry>* entries) {
  if (!entries) return false;
  entries->clear();
  std::error_code ec;
  fs::directory_iterator it(path.empty() ? "." : path, ec);
  if (ec) return false;
  for (; it != fs::directory_iterator(); it.increment(ec)) {
    if (ec) return false;
    DirEntry e;
    e.name = it->path().filename().string();
    std::error_code typeError;
    e.isDirectory = it->is_directory(typeError);
    entries->push_back(std::move(e));
  }
  std::sort(entries->begin(), entries->end(), [](const DirEntry& a, const DirEntry& b) { return a.name < b.name; });
  return true;
}

bool WildcardMatch(std::string_view pattern, std::string_view name) {
  size_t p = 0, n = 0, starP = std::string_view::npos, starN = 0;
  while (n < name.size()) {
    if (p < pattern.size() && (pattern[p] == '?' || str::ToLowerChar(pattern[p]) == str::ToLowerChar(name[n]))) {
      ++p;
      ++n;
    } else if (p < pattern.size() && pattern[p] == '*') {
      starP = p++;
      starN = n;
    } else if (starP != std::string_view::npos) {
      p = starP + 1;
      n = ++starN;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

bool FileExists(const std::string& path) {
  std::error_code ec;
  return fs::is_regular_file(path, ec);
}

bool DirectoryExists(const std::string& path) {
  std::error_code ec;
  return fs::is_directory(path, ec);
}

bool CreateDirectories(const std::string& path) {
  std::error_code ec;
  fs::create_directories(path, ec);
  return !ec && DirectoryExists(path);
}

}  // namespace platform
