#pragma once
// Run-time loading of shared libraries (the plug-ins).
#include <string>

namespace platform {

using LibraryHandle = void*;

// Returns null on failure; LibraryError() then tells why.
LibraryHandle LoadLibrary(const std::string& path);
void* GetProcAddress(LibraryHandle library, const char* symbol);
bool FreeLibrary(LibraryHandle library);
std::string LibraryError();

}  // namespace platform
