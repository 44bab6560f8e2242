#pragma once
// The packed identity word of building types and placed buildings, from the
// low bit up: class code (4 bits), id within the class (13), level (3),
// build-menu category (3), instance serial (9).
#include <cstdint>

using OID = uint32_t;

inline constexpr uint16_t kInvalidTypeId = 8191;
inline constexpr uint16_t kInstanceSerialCount = 512;

inline constexpr uint8_t OidClass(OID word) { return static_cast<uint8_t>(word & 0xF); }
inline constexpr uint16_t OidId(OID word) { return static_cast<uint16_t>((word >> 4) & 0x1FFF); }
inline constexpr uint8_t OidLevel(OID word) { return static_cast<uint8_t>((word >> 17) & 0x7); }
inline constexpr uint8_t OidCategory(OID word) { return static_cast<uint8_t>((word >> 20) & 0x7); }
inline constexpr uint16_t OidSerial(OID word) { return static_cast<uint16_t>((word >> 23) & 0x1FF); }

inline constexpr OID OidWithClass(OID word, uint8_t v) { return (word & ~0xFu) | (v & 0xFu); }
inline constexpr OID OidWithId(OID word, uint16_t v) { return (word & ~(0x1FFFu << 4)) | ((v & 0x1FFFu) << 4); }
inline constexpr OID OidWithLevel(OID word, uint8_t v) { return (word & ~(0x7u << 17)) | ((v & 0x7u) << 17); }
inline constexpr OID OidWithCategory(OID word, uint8_t v) { return (word & ~(0x7u << 20)) | ((v & 0x7u) << 20); }
inline constexpr OID OidWithSerial(OID word, uint16_t v) { return (word & 0x7FFFFFu) | ((v & 0x1FFu) << 23); }

inline constexpr OID MakeOid(uint8_t classCode, uint16_t id, uint8_t level, uint8_t category = 0, uint16_t serial = 0) {
  return OidWithSerial(OidWithCategory(OidWithLevel(OidWithId(OidWithClass(0, classCode), id), level), category),
                       serial);
}

// Same type: class, id and level agree.
inline constexpr bool SameType(OID a, OID b) { return (a & 0xFFFFF) == (b & 0xFFFFF); }
// Same placed building: class, id, level and serial agree (the category is
// not compared).
inline constexpr bool SameBuilding(OID a, OID b) { return SameType(a, b) && OidSerial(a) == OidSerial(b); }

// Building class codes; 13 marks no building.
enum BuildingClass : uint8_t {
  kClass_Object = 0,
  kClass_Building = 1,
  kClass_Amenity = 2,
  kClass_Parking = 3,
  kClass_Road = 4,
  kClass_Terminal = 5,
  kClass_Admin = 6,
  kClass_Storage = 7,
  kClass_Runway = 8,
  kClass_Emergency = 9,
  kClass_Security = 10,
  kClass_Service = 11,
  kClass_Organizational = 12,
  kClass_None = 13,
};
