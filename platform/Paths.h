#pragma once
// The one resolver for the system's Windows-style relative names
// ("Sounds\Weather\WE_rain.wav", in any case). Every file the project opens
// goes through here. Names split on '\' and '/', and each component matches a
// real directory entry ignoring case. Directory listings are cached; a miss
// re-reads the directory once so files created since are found.
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace platform {

// Resolves `name` (relative to `base`, or absolute) to an existing file or
// directory. Returns false when some component does not exist.
bool ResolvePath(const std::string& name, std::string* resolved, const std::string& base = "");

// For a file about to be written: the directories resolve as above, a last
// component that does not exist yet keeps the case given. Missing directories
// are not created. Returns false when a directory is missing.
bool ResolvePathForWrite(const std::string& name, std::string* resolved, const std::string& base = "");

// Joins a directory and a relative name with '/', converting '\' to '/'.
std::string JoinPath(const std::string& directory, const std::string& name);

// fopen through the resolver; the mode is always binary. Write modes resolve
// with ResolvePathForWrite.
FILE* OpenFile(const std::string& name, const char* mode, const std::string& base = "");

// Reads a whole file through the resolver. False when missing or unreadable.
bool ReadWholeFile(const std::string& name, std::vector<uint8_t>* bytes, const std::string& base = "");
bool ReadWholeFile(const std::string& name, std::string* text, const std::string& base = "");

// Writes a file safely: to a temporary sibling first, then renamed over the
// target, so an interrupted write never leaves a truncated file.
bool WriteWholeFileAtomic(const std::string& name, const void* data, size_t size, const std::string& base = "");

// Forgets every cached listing (tests that rename or delete files).
void ClearPathCache();

}  // namespace platform
