#pragma once
// Where the runs of each kind the script tokenizer reads end, within a
// 64-byte block of script text: bit k of a mask stands for byte k of the
// block. Worked out once per block, so finding where a run ends is a shift
// and a bit count whatever the run's length.
//
// Three ways to the same masks: 64-byte vectors where the processor has
// them (chosen when the program starts), 16-byte vectors on any x86-64, and
// a byte loop elsewhere.
#include <cstdint>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>
#define SCRIPT_BLOCK_STOPS_WIDE 1
#endif

namespace script_blocks {

enum Stop {
  kOutside,         // ends a token outside quotes: white space, quote mark, ";", "/"
  kInside,          // ends a run inside quotes: control, quote mark, backslash
  kInsideUnquoted,  // the same, and blank and ";", while an escaped quote mark has the split outside quotes
  kNotBlank,        // ends a run of white space outside quotes: anything but a blank or a control
  kStopCount
};
using Stops = uint64_t[kStopCount];

// White space in every state but the comments: NUL and 7 (bell) to 13
// (carriage return).
constexpr bool IsControl(unsigned char c) { return c == 0 || (c >= 7 && c <= 13); }

inline void FromKinds(uint64_t control, uint64_t space, uint64_t quote, uint64_t slash, uint64_t semicolon,
                      uint64_t backslash, Stops stops) {
  stops[kOutside] = control | space | quote | slash | semicolon;
  stops[kInside] = control | quote | backslash;
  stops[kInsideUnquoted] = control | quote | backslash | space | semicolon;
  stops[kNotBlank] = ~(control | space);
}

// Fills `stops` for the 64 bytes at `p`, on any processor.
inline void ClassifyPortable(const char* p, Stops stops) {
#if defined(__SSE2__)
  uint64_t control = 0, space = 0, quote = 0, slash = 0, semicolon = 0, backslash = 0;
  const auto bits = [](__m128i m) { return static_cast<uint64_t>(static_cast<uint32_t>(_mm_movemask_epi8(m))); };
  for (int k = 0; k < 64; k += 16) {
    const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + k));
    const auto eq = [&x](char c) { return _mm_cmpeq_epi8(x, _mm_set1_epi8(c)); };
    const __m128i upTo13 = _mm_cmpeq_epi8(_mm_min_epu8(x, _mm_set1_epi8(13)), x);
    const __m128i upTo6 = _mm_cmpeq_epi8(_mm_min_epu8(x, _mm_set1_epi8(6)), x);
    control |= bits(_mm_or_si128(eq('\0'), _mm_andnot_si128(upTo6, upTo13))) << k;
    space |= bits(eq(' ')) << k;
    quote |= bits(eq('"')) << k;
    slash |= bits(eq('/')) << k;
    semicolon |= bits(eq(';')) << k;
    backslash |= bits(eq('\\')) << k;
  }
#else
  uint64_t control = 0, space = 0, quote = 0, slash = 0, semicolon = 0, backslash = 0;
  for (int k = 0; k < 64; ++k) {
    const unsigned char c = static_cast<unsigned char>(p[k]);
    const uint64_t bit = uint64_t{1} << k;
    if (IsControl(c)) control |= bit;
    if (c == ' ') space |= bit;
    if (c == '"') quote |= bit;
    if (c == '/') slash |= bit;
    if (c == ';') semicolon |= bit;
    if (c == '\\') backslash |= bit;
  }
#endif
  FromKinds(control, space, quote, slash, semicolon, backslash, stops);
}

#if defined(SCRIPT_BLOCK_STOPS_WIDE)
// The whole block in one register: each compare gives its 64-bit mask as it
// stands, with no gathering of bits from smaller vectors.
__attribute__((target("avx512bw"))) inline void ClassifyWide(const char* p, Stops stops) {
  const __m512i x = _mm512_loadu_si512(p);
#define SCRIPT_BLOCK_EQ(c) static_cast<uint64_t>(_mm512_cmpeq_epi8_mask(x, _mm512_set1_epi8(c)))
  const uint64_t bellToReturn =
      _mm512_cmple_epu8_mask(_mm512_sub_epi8(x, _mm512_set1_epi8(7)), _mm512_set1_epi8(13 - 7));
  FromKinds(SCRIPT_BLOCK_EQ('\0') | bellToReturn, SCRIPT_BLOCK_EQ(' '), SCRIPT_BLOCK_EQ('"'), SCRIPT_BLOCK_EQ('/'),
            SCRIPT_BLOCK_EQ(';'), SCRIPT_BLOCK_EQ('\\'), stops);
#undef SCRIPT_BLOCK_EQ
}

// Whether this processor (and the system, which must keep its registers)
// runs ClassifyWide.
inline bool HasWide() {
  __builtin_cpu_init();
  return __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512bw");
}
inline const bool kHasWide = HasWide();
#else
inline bool HasWide() { return false; }
#endif

// Fills `stops` for the 64 bytes at `p`, the fastest way this processor has.
inline void Classify(const char* p, Stops stops) {
#if defined(SCRIPT_BLOCK_STOPS_WIDE)
  if (kHasWide) {
    ClassifyWide(p, stops);
    return;
  }
#endif
  ClassifyPortable(p, stops);
}

}  // namespace script_blocks
