#include "database/Headers.h"

#include <algorithm>

namespace orvane {

namespace {
std::string TextUpToZero(const unsigned char* p, std::size_t max) {
    std::size_t n = 0;
    while (n < max && p[n] != 0)
        ++n;
    return std::string(reinterpret_cast<const char*>(p), n);
}
} // namespace

std::string DbdHeader::Tag() const {
    return TextUpToZero(bytes.data(), 4);
}
// The text the status bar shows: up to the first zero or control byte, so
// the binary counts after a tag that fills its four bytes stay out of it.
std::string DbdHeader::LeadingText() const {
    std::size_t n = 0;
    while (n < kSize && bytes[n] >= 0x20 && bytes[n] != 0x7F)
        ++n;
    return std::string(reinterpret_cast<const char*>(bytes.data()), n);
}

void DbdHeader::SetTag(const std::string& tag) {
    std::fill(bytes.begin(), bytes.begin() + 4, 0);
    std::copy_n(tag.begin(), std::min<std::size_t>(4, tag.size()), bytes.begin());
}

bool DbdHeader::IsZero() const {
    return std::all_of(bytes.begin(), bytes.end(), [](unsigned char b) { return b == 0; });
}

std::string DexHeader::Name() const {
    return TextUpToZero(bytes.data(), 32);
}

void DexHeader::SetName(const std::string& text) {
    std::size_t n = std::min<std::size_t>(31, text.size());
    std::copy_n(text.begin(), n, bytes.begin());
    bytes[n] = 0;
}

} // namespace orvane
