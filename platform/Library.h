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

// Keeps every graphics-driver library that is loaded now (the GL and EGL
// dispatch libraries, Mesa's DRI/gallium drivers and what they pulled in)
// resident until the process ends, even when the window system unloads it.
// Drivers keep blocks in their own globals past their teardown; unloaded, a
// sanitizer build would see those blocks as leaks of an unknown module, and a
// driver loaded again would start from scratch. Returns how many libraries
// were pinned by this call.
int KeepGraphicsDriversLoaded();

// True when a loaded library's path names a graphics driver or GL/EGL library.
bool IsGraphicsDriverPath(const std::string& path);

}  // namespace platform
