#pragma once
// Common base of every module object the plug-in library manager creates,
// configures and asks about: the plug-in services and the command, action
// and spawn packages. It carries the module's two directories and the hook
// to its option map.
#include <cstdint>
#include <string>
#include <unordered_map>

// What a module provides; shared with the plug-in descriptors.
enum eServiceType : int32_t {
  eService_Sound = 1,       // SoundMgr
  eService_Input = 2,       // CoreInput
  eService_Graphics = 3,    // Core3D
  eService_Interface = 5,   // CoreInterface
  eService_GUI = 6,         // Panelis
  eService_Physics = 8,     // CorePhysics
  eService_ActionPack = 9,  // CorePack<cAction_Base>
  eService_SpawnPack = 10,  // CorePack<cSpawn_Base>
  eService_OCPack = 12,     // Core_OCPack
};

// One module option, every part kept as text. The engine fills in options of
// type "bool" and "int".
struct CoreBaseConfig {
  std::string name;
  std::string value;
  std::string defaultValue;
  std::string type;
  std::string description;
  std::string min_range;
  std::string max_range;
};

// Option name -> option record; the module that holds the map owns the records.
using CoreBaseConfigMap = std::unordered_map<std::string, CoreBaseConfig*>;

class CoreBase {
 public:
  CoreBase() = default;
  virtual ~CoreBase() = default;
  CoreBase(const CoreBase&) = delete;
  CoreBase& operator=(const CoreBase&) = delete;

  virtual bool Init() = 0;
  virtual void Shutdown() = 0;
  virtual void LoadConfig() = 0;
  // Points *options at the module's option map (or null) and answers the
  // number of options.
  virtual uint32_t GetConfig(CoreBaseConfigMap** options) = 0;
  virtual bool ApplyConfig() = 0;
  virtual void ClearConfig() = 0;
  virtual const char* GetName() = 0;
  virtual const char* GetDescription() = 0;
  virtual eServiceType GetServiceType() = 0;

  virtual void SetLibraryPath(std::string path) { libraryPath_ = std::move(path); }
  virtual std::string GetLibraryPath() { return libraryPath_; }
  virtual void SetResourcePath(std::string path) { resourcePath_ = std::move(path); }
  virtual std::string GetResourcePath() { return resourcePath_; }

  // Every module names a status log and has a switch for it; no operation of
  // the engine writes that log (diagnostics use the debugger channel).
  const std::string& GetStatusLogName() const { return statusLogName_; }
  bool IsLoggingEnabled() const { return loggingEnabled_ != 0; }

 private:
  std::string statusLogName_ = "status.log";
  int32_t loggingEnabled_ = 1;
  std::string resourcePath_;
  std::string libraryPath_;
};
