#pragma once
// Buffered keyboard and mouse devices with the operations, data formats,
// property and result codes the input code expects: create the input object,
// create a device for the system keyboard or mouse, set its data format,
// cooperative level and buffer size, acquire it, then read buffered records
// (key code or mouse offset, data, time stamp, sequence) or the immediate
// state.
//
// Records come from the window layer's system events (SDL events or the
// scripted source). A device records only while acquired. A foreground device
// can be acquired only while its window is active and loses acquisition when
// the window is deactivated or minimised: its next read reports
// DIERR_INPUTLOST, later reads DIERR_NOTACQUIRED. A full buffer keeps its
// oldest records, drops the new ones and makes the next read report
// DI_BUFFEROVERFLOW. Key auto-repeat makes no records.
#include <cstdint>

#include "platform/window/WindowTypes.h"

namespace platform {

using HRESULT = int32_t;
using ULONG = uint32_t;

struct GUID {
  uint32_t Data1;
  uint16_t Data2;
  uint16_t Data3;
  uint8_t Data4[8];
};
inline bool operator==(const GUID& a, const GUID& b) {
  return a.Data1 == b.Data1 && a.Data2 == b.Data2 && a.Data3 == b.Data3 &&
         __builtin_memcmp(a.Data4, b.Data4, 8) == 0;
}
static_assert(sizeof(GUID) == 16);

// Identifiers of this layer's input object and system devices.
inline constexpr GUID IID_IDirectInput8A{0x5A1E0001, 0x7C21, 0x4B8E, {0x9F, 0x10, 0x43, 0x11, 0x6B, 0x00, 0x08, 0x00}};
inline constexpr GUID GUID_SysKeyboard{0x5A1E0002, 0x7C21, 0x4B8E, {0x9F, 0x10, 0x43, 0x11, 0x6B, 0x00, 0x00, 0x01}};
inline constexpr GUID GUID_SysMouse{0x5A1E0003, 0x7C21, 0x4B8E, {0x9F, 0x10, 0x43, 0x11, 0x6B, 0x00, 0x00, 0x02}};

inline constexpr uint32_t DIRECTINPUT_VERSION = 0x0800;

// Results.
inline constexpr HRESULT DI_OK = 0;
inline constexpr HRESULT S_FALSE = 1;
inline constexpr HRESULT DI_NOEFFECT = 1;        // already (un)acquired
inline constexpr HRESULT DI_BUFFEROVERFLOW = 1;  // records were lost since the last read
inline constexpr HRESULT E_FAIL = static_cast<HRESULT>(0x80004005u);
inline constexpr HRESULT E_POINTER = static_cast<HRESULT>(0x80004003u);
inline constexpr HRESULT E_NOINTERFACE = static_cast<HRESULT>(0x80004002u);
inline constexpr HRESULT DIERR_INVALIDPARAM = static_cast<HRESULT>(0x80070057u);
inline constexpr HRESULT DIERR_NOTACQUIRED = static_cast<HRESULT>(0x8007000Cu);
inline constexpr HRESULT DIERR_INPUTLOST = static_cast<HRESULT>(0x8007001Eu);
inline constexpr HRESULT DIERR_OTHERAPPHASPRIO = static_cast<HRESULT>(0x80070005u);
inline constexpr HRESULT DIERR_ACQUIRED = static_cast<HRESULT>(0x800700AAu);
inline constexpr HRESULT DIERR_NOTBUFFERED = static_cast<HRESULT>(0x80040207u);
inline constexpr HRESULT DIERR_NOTINITIALIZED = static_cast<HRESULT>(0x80070015u);
inline constexpr HRESULT DIERR_DEVICENOTREG = static_cast<HRESULT>(0x80040154u);
inline constexpr HRESULT DIERR_OLDDIRECTINPUTVERSION = static_cast<HRESULT>(0x8007047Eu);
inline constexpr HRESULT DIERR_BETADIRECTINPUTVERSION = static_cast<HRESULT>(0x80070481u);

// Cooperative-level flags.
enum : uint32_t {
  DISCL_EXCLUSIVE = 0x1,
  DISCL_NONEXCLUSIVE = 0x2,
  DISCL_FOREGROUND = 0x4,
  DISCL_BACKGROUND = 0x8,
  DISCL_NOWINKEY = 0x10,
};

// GetDeviceData flags and the "everything" count.
enum : uint32_t { DIGDD_PEEK = 0x1 };
inline constexpr uint32_t INFINITE = 0xFFFFFFFFu;

// Offsets of the mouse records (and of DIMOUSESTATE2's fields).
enum : uint32_t {
  DIMOFS_X = 0,
  DIMOFS_Y = 4,
  DIMOFS_Z = 8,
  DIMOFS_BUTTON0 = 12,
  DIMOFS_BUTTON1 = 13,
  DIMOFS_BUTTON2 = 14,
  DIMOFS_BUTTON7 = 19,
};

enum : uint32_t { DIDF_ABSAXIS = 0x1, DIDF_RELAXIS = 0x2 };

// A device data format. Only the two predefined formats are accepted.
struct DIDATAFORMAT {
  uint32_t dwSize;
  uint32_t dwObjSize;
  uint32_t dwFlags;
  uint32_t dwDataSize;
  uint32_t dwNumObjs;
};
extern const DIDATAFORMAT c_dfDIKeyboard;  // 256 key bytes
extern const DIDATAFORMAT c_dfDIMouse2;    // three relative axes, eight buttons

// Properties.
struct DIPROPHEADER {
  uint32_t dwSize;
  uint32_t dwHeaderSize;
  uint32_t dwObj;
  uint32_t dwHow;
};
struct DIPROPDWORD {
  DIPROPHEADER diph;
  uint32_t dwData;
};
static_assert(sizeof(DIPROPHEADER) == 16 && sizeof(DIPROPDWORD) == 20);
enum : uint32_t { DIPH_DEVICE = 0, DIPH_BYOFFSET = 1 };
enum DIPROPID : uintptr_t { DIPROP_BUFFERSIZE = 1 };
// Largest buffer a device accepts.
inline constexpr uint32_t kMaxDeviceBufferSize = 4096;

// One buffered record: the key code or mouse offset, the data (key and
// button: 0x80 pressed, 0 released; axes: the signed motion; wheel: 120 per
// notch), the tick count of the event and its sequence number (increasing
// across all devices; the x and y records of one motion share theirs).
struct DIDEVICEOBJECTDATA {
  uint32_t dwOfs;
  uint32_t dwData;
  uint32_t dwTimeStamp;
  uint32_t dwSequence;
  uint32_t uAppData;  // always 0
};
static_assert(sizeof(DIDEVICEOBJECTDATA) == 20);

// Immediate mouse state: motion accumulated since the previous state read,
// and the buttons held (0x80).
struct DIMOUSESTATE2 {
  int32_t lX;
  int32_t lY;
  int32_t lZ;
  uint8_t rgbButtons[8];
};
static_assert(sizeof(DIMOUSESTATE2) == 20);

class IDirectInputDevice8 {
 public:
  virtual ULONG AddRef() = 0;
  virtual ULONG Release() = 0;  // deletes the device at zero
  virtual HRESULT SetDataFormat(const DIDATAFORMAT* format) = 0;
  virtual HRESULT SetCooperativeLevel(HWND hwnd, uint32_t flags) = 0;
  virtual HRESULT SetProperty(DIPROPID property, const DIPROPHEADER* header) = 0;
  virtual HRESULT GetProperty(DIPROPID property, DIPROPHEADER* header) = 0;
  virtual HRESULT Acquire() = 0;
  virtual HRESULT Unacquire() = 0;
  // Keyboard: 256 bytes, 0x80 for each key held. Mouse: DIMOUSESTATE2.
  virtual HRESULT GetDeviceState(uint32_t size, void* data) = 0;
  // Takes up to *count records (removes them unless DIGDD_PEEK); *count
  // becomes the number taken. A null array with INFINITE empties the buffer.
  virtual HRESULT GetDeviceData(uint32_t recordSize, DIDEVICEOBJECTDATA* records, uint32_t* count,
                                uint32_t flags) = 0;

 protected:
  virtual ~IDirectInputDevice8() = default;
};

class IDirectInput8 {
 public:
  virtual ULONG AddRef() = 0;
  virtual ULONG Release() = 0;
  // GUID_SysKeyboard or GUID_SysMouse; the outer pointer must be null.
  virtual HRESULT CreateDevice(const GUID& guid, IDirectInputDevice8** device, void* outer) = 0;

 protected:
  virtual ~IDirectInput8() = default;
};

// Creates the input object. Needs the window layer running; the version must
// be DIRECTINPUT_VERSION and the interface IID_IDirectInput8A.
HRESULT DirectInput8Create(HINSTANCE instance, uint32_t version, const GUID& iid, void** out, void* outer);

}  // namespace platform
