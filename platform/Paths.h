#pragma once
// The one resolver for the system's Windows-style relative names
// ("Sounds\Weather\WE_rain.wav", in any case). Every file the project opens
// goes through here, by way of the reading and saving helpers. Names split on
// '\' and '/', and each component matches a real directory entry ignoring
// case. Directory listings are cached; a miss re-reads the directory once so
// files created since are found.
#include <string>

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

// Reading a file: platform/FileRead.h. Writing one: platform/DurableSave.h.

// Forgets every cached listing (tests that rename or delete files).
void ClearPathCache();

}  // namespace platform
