// A quick scan of a row's texts for the few bytes an export or a listing
// cannot write as they are, sixteen bytes at a time: the callers run it over
// every row before copying the cells as blocks, and search exactly only in
// the rare row it flags.
#pragma once

#include <cstdint>
#include <cstring>
#include <string_view>

#if defined(__SSE2__) || defined(_M_X64)
#include <emmintrin.h>
#define ORVANE_SCAN_SSE2 1
#endif

namespace orvane {

// Whether text holds a byte of value `limit` or below (limit < 0x80), or the
// byte `extra`.
inline bool HoldsLowByteOr(std::string_view text, unsigned char limit, char extra) {
    const char* p = text.data();
    const char* const end = p + text.size();
#ifdef ORVANE_SCAN_SSE2
    const __m128i low = _mm_set1_epi8(static_cast<char>(limit)), other = _mm_set1_epi8(extra),
                  zero = _mm_setzero_si128();
    // A byte at or below limit saturates to zero when limit is taken off it.
    const auto hits = [&](__m128i x) {
        return _mm_or_si128(_mm_cmpeq_epi8(_mm_subs_epu8(x, low), zero), _mm_cmpeq_epi8(x, other));
    };
    for (; end - p >= 32; p += 32) {
        const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        const __m128i y = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16));
        if (_mm_movemask_epi8(_mm_or_si128(hits(x), hits(y)))) return true;
    }
    if (end - p >= 16) {
        if (_mm_movemask_epi8(hits(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p)))))
            return true;
        p += 16;
    }
#else
    constexpr std::uint64_t kOnes = 0x0101010101010101u, kHigh = 0x8080808080808080u;
    // Nonzero exactly when some byte of v is below n (n <= 0x80).
    const auto below = [](std::uint64_t v, unsigned n) { return (v - kOnes * n) & ~v & kHigh; };
    for (; end - p >= 8; p += 8) {
        std::uint64_t x;
        std::memcpy(&x, p, sizeof x);
        if (below(x, limit + 1u) | below(x ^ (kOnes * static_cast<unsigned char>(extra)), 1))
            return true;
    }
#endif
    for (; p != end; ++p)
        if (static_cast<unsigned char>(*p) <= limit || *p == extra) return true;
    return false;
}

} // namespace orvane
