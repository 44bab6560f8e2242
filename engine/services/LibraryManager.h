#pragma once
// The plug-in library manager. At start-up it scans the library directory
// for plug-in libraries, asks each for its descriptors, keeps the classes
// whose version lies in the configured window, settles which class provides
// each service, creates the modules, binds them in a fixed order and stores
// them in the service table. It owns the graphics start-up (display mode,
// depth format, device) with the messages the user sees, and it installs
// itself as the configuration manager's graphics restart.
#include <cstdint>
#include <string>
#include <vector>

#include "base/Status.h"
#include "platform/Library.h"

class CoreBase;
class CoreBaseDescriptor;
class Core3D;
class cCore_ConfigManager;
class cCore_GlobalWrapper;
struct C3DAdapter;
struct C3DModeEntry;
struct DisplaySettings;

// The program's minimum requirements of the renderer: both the maximum vertex
// index (capability 1) and the maximum primitive count (capability 2) must
// be at least 0xFFFF.
inline constexpr uint32_t kMinimumGraphicsCapability = 0xFFFF;
bool MeetsMinimumGraphicsCapabilities(Core3D* graphics);

class cCore_LibraryManager {
 public:
  // Service mask bits of Init.
  enum : uint32_t {
    kReservedA = 0x1,
    kSound = 0x2,
    kInput = 0x4,
    kGraphics = 0x8,
    kPhysics = 0x10,
    kInterface = 0x20,
    kGUI = 0x40,
    kReservedB = 0x80,
    kActionPacks = 0x100,
    kSpawnPacks = 0x200,
    kOCPacks = 0x400,
  };

  // One loaded library.
  struct DLLData {
    platform::LibraryHandle handle = nullptr;  // null once released
    uint32_t classCount = 0;                   // its descriptors still listed
  };
  // One listed class.
  struct ClassData {
    CoreBaseDescriptor* descriptor = nullptr;
    uint8_t libraryIndex = 0;
    CoreBase* instance = nullptr;
    bool active = true;
  };

  cCore_LibraryManager();
  // Destroys the lists and strings; modules and libraries go in Shutdown.
  virtual ~cCore_LibraryManager();
  cCore_LibraryManager(const cCore_LibraryManager&) = delete;
  cCore_LibraryManager& operator=(const cCore_LibraryManager&) = delete;

  virtual CoreStatus Init(uint32_t mask, cCore_ConfigManager* config, cCore_GlobalWrapper* table);
  virtual void Shutdown(cCore_GlobalWrapper* table);
  virtual CoreStatus ScanDirectory();
  virtual void AddLibrary(const std::string& path);
  virtual void ResolveConflicts();
  virtual CoreStatus CreateServices(cCore_GlobalWrapper* table, cCore_ConfigManager* config);
  virtual bool BindActionPacks(cCore_GlobalWrapper* table);
  virtual bool BindSpawnPacks(cCore_GlobalWrapper* table);
  virtual bool BindOCPacks(cCore_GlobalWrapper* table);
  virtual bool StartReservedA(cCore_GlobalWrapper* table);
  virtual bool LoadSound(cCore_GlobalWrapper* table, cCore_ConfigManager* config);
  virtual bool LoadInput(cCore_GlobalWrapper* table);
  virtual bool LoadGraphics(cCore_GlobalWrapper* table, cCore_ConfigManager* config);
  virtual bool LoadPhysics(cCore_GlobalWrapper* table);
  virtual bool LoadInterface(cCore_GlobalWrapper* table);
  virtual bool LoadGUI(cCore_GlobalWrapper* table);
  virtual bool StartReservedB(cCore_GlobalWrapper* table);
  virtual void RollBackInput(cCore_GlobalWrapper* table);
  virtual void RollBackGraphics(cCore_GlobalWrapper* table);
  virtual void RollBackPhysics(cCore_GlobalWrapper* table);
  virtual void RollBackInterface(cCore_GlobalWrapper* table);
  virtual void RollBackGUI(cCore_GlobalWrapper* table);
  virtual void RollBackReserved(cCore_GlobalWrapper* table);
  virtual void RollBackAll(cCore_GlobalWrapper* table);
  virtual CoreStatus ServiceInitGraphics(cCore_GlobalWrapper* table, cCore_ConfigManager* config);

  // The graphics restart the configuration manager runs after toggling the
  // display mode: 0 when the new mode runs. When it cannot be started, the
  // saved settings are restored and the previous mode is started again,
  // answering 1. Only when that fails too is the failure message shown and a
  // failure returned, with the graphics slot empty: the program must quit.
  CoreStatus RestartServices(uint32_t mask, cCore_ConfigManager* config, cCore_GlobalWrapper* table);

  // The program's own path; the library and resource paths are relative to
  // its directory. Defaults to the running executable.
  void SetProgramPath(const std::string& path) { programPath_ = path; }
  const std::string& GetProgramPath() const { return programPath_; }

  const std::string& GetLibraryPath() const { return libraryPath_; }
  const std::string& GetResourcePath() const { return resourcePath_; }
  uint32_t GetServiceMask() const { return serviceMask_; }
  const std::vector<DLLData>& GetLibraries() const { return libraries_; }
  const std::vector<ClassData>& GetClasses() const { return classes_; }
  int32_t GetMaxVersion() const { return maxVersion_; }
  int32_t GetMinVersion() const { return minVersion_; }

  // The graphics failure messages.
  static constexpr const char* kNoAdapterMessage =
      "[cCore_LibraryManager::LoadGraphics] Unable to find a graphics adapter.  Quitting.";
  static constexpr const char* kNoModeMessage =
      "[cLibraryHandler::ServiceInitGraphics] Unable to find a valid mode for adapter 0.  Quitting.";
  static constexpr const char* kNoPixelFormatMessage =
      "[cLibraryHandler::ServiceInitGraphics] Unable to find a suitable pixel format, graphics init failed.\n";

 private:
  // The first listed class of that service type, or null.
  ClassData* FindClass(int32_t serviceType);
  CoreBase* FindInstance(int32_t serviceType);
  // The adapter list of the graphics module, fetched when not held.
  bool EnsureAdapters(Core3D* graphics);
  void FreeAdapters(Core3D* graphics);
  // Adapter 0's mode of that size and bit depth, preferring more colour
  // bits; -1 for none.
  int32_t FindMode(int32_t width, int32_t height, uint32_t bits) const;
  // The first depth format the renderer accepts with the block's formats is
  // left in the block.
  bool FindDepthFormat(Core3D* graphics, DisplaySettings* block) const;
  // Shows a graphics failure message, or keeps it while a display-mode
  // change may still fall back to the previous mode.
  void ReportGraphicsFailure(const char* message);
  void ReleaseLibrary(DLLData& library);

  std::string libraryPath_;
  std::string resourcePath_;
  uint32_t serviceMask_ = 0;
  std::vector<DLLData> libraries_;
  std::vector<ClassData> classes_;
  int32_t maxVersion_ = 9;
  int32_t minVersion_ = 0;
  C3DAdapter* adapters_ = nullptr;
  int32_t adapterCount_ = 0;

  std::string programPath_;
  cCore_ConfigManager* restartConfig_ = nullptr;
  bool holdGraphicsMessages_ = false;
  std::string heldGraphicsMessage_;
};
