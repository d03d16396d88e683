// The fixed-size file headers the core keeps whole: the 56-byte DBD header
// and the 40-byte exchange-file (DEX) header. Bytes that are not interpreted
// are carried unchanged.
#pragma once

#include "platform/BinaryFile.h"

#include <array>
#include <cstdint>
#include <string>

namespace orvane {

struct DbdHeader {
    static constexpr std::size_t kSize = 56;
    std::array<unsigned char, kSize> bytes{};

    // The tag: bytes 0-3 up to the first zero byte.
    std::string Tag() const;
    // The header's leading text: bytes from 0 up to the first zero or control byte.
    std::string LeadingText() const;
    std::int32_t Stamp() const { return GetI32(&bytes[12]); }
    std::int32_t RecordCount() const { return GetI32(&bytes[16]); }
    std::int32_t RecordSize() const { return GetI32(&bytes[20]); }
    void SetStamp(std::int32_t v) { PutI32(&bytes[12], v); }
    void SetRecordCount(std::int32_t v) { PutI32(&bytes[16], v); }
    void SetRecordSize(std::int32_t v) { PutI32(&bytes[20], v); }
    void SetTag(const std::string& tag);
    bool IsZero() const;
};

struct DexHeader {
    static constexpr std::size_t kSize = 40;
    std::array<unsigned char, kSize> bytes{};

    // Name: bytes 0-31 up to the first zero byte.
    std::string Name() const;
    std::int32_t RecordSize() const { return GetI32(&bytes[32]); }
    std::int32_t RecordCount() const { return GetI32(&bytes[36]); }
    // Copies text and one zero byte to the start of Name; later bytes stay.
    void SetName(const std::string& text);
    void SetRecordSize(std::int32_t v) { PutI32(&bytes[32], v); }
    void SetRecordCount(std::int32_t v) { PutI32(&bytes[36], v); }
};

// Largest record the conversions handle.
inline constexpr int kMaxRecordSize = 512;
// Smallest: the two 16-bit marks.
inline constexpr int kMinRecordSize = 4;

} // namespace orvane
