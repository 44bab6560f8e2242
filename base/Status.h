#pragma once
// 32-bit status codes in the COM style: zero or positive is success,
// negative is failure. Every result that crosses a module boundary uses them.
#include <cstdint>

using CoreStatus = int32_t;

namespace status {
inline constexpr CoreStatus Ok = 0;
inline constexpr CoreStatus Fail = static_cast<CoreStatus>(0x80004005u);
inline constexpr bool Succeeded(CoreStatus s) { return s >= 0; }
inline constexpr bool Failed(CoreStatus s) { return s < 0; }
}  // namespace status
