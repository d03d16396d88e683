// The plain code the benchmarks hold the program to: records decoded into
// texts and texts encoded into records or CSV lines with no table, no
// checks beyond what the bytes need, and files written in large blocks. Each
// produces the program's very bytes (the benchmarks compare them first) and
// formats and reads numbers with the program's own four-decimal writer and
// decimal reader, so that a ratio measures the program's overhead alone.
#pragma once

#include "database/Template.h"
#include "platform/BinaryFile.h"
#include "platform/Cp1252.h"
#include "platform/DecimalText.h"

#include <fcntl.h>
#include <unistd.h>

#include <charconv>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace orvane::bench {

// A file written as the program writes one: a temporary file filled in
// blocks of 1 MiB, synced, renamed over the target, its folder synced.
class FlatFile {
  public:
    static constexpr std::size_t kBlock = 1 << 20;

    explicit FlatFile(std::string path)
        : path_(std::move(path)), temp_(path_ + ".flat-tmp"), block_(new char[kBlock + 8192]) {
        fd_ = ::open(temp_.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        if (fd_ < 0) throw std::runtime_error("cannot create " + temp_);
    }
    ~FlatFile() {
        if (fd_ >= 0) ::close(fd_);
    }

    // Room for at least 8 KiB at the end of the block.
    char* At() { return block_.get() + used_; }
    void Advance(char* end) {
        used_ = static_cast<std::size_t>(end - block_.get());
        if (used_ >= kBlock) Flush();
    }
    void Append(std::string_view bytes) {
        std::memcpy(At(), bytes.data(), bytes.size());
        Advance(At() + bytes.size());
    }
    void Commit() {
        Flush();
        if (::fsync(fd_) != 0 || ::close(fd_) != 0) throw std::runtime_error("cannot sync");
        fd_ = -1;
        std::filesystem::rename(temp_, path_);
        const std::string folder = std::filesystem::path(path_).parent_path().string();
        const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (dir >= 0) {
            ::fsync(dir);
            ::close(dir);
        }
    }

  private:
    void Flush() {
        for (std::size_t done = 0; done < used_;) {
            const ssize_t n = ::write(fd_, block_.get() + done, used_ - done);
            if (n <= 0) throw std::runtime_error("cannot write " + temp_);
            done += static_cast<std::size_t>(n);
        }
        used_ = 0;
    }

    std::string path_, temp_;
    std::unique_ptr<char[]> block_;
    std::size_t used_ = 0;
    int fd_ = -1;
};

// One record's fields as texts straight into out, close(out) called after
// each; with utf8 the texts are converted from Windows-1252 as 'show'
// prints them.
template <class Close>
char* FlatDecodeFields(const unsigned char* rec, const std::vector<FieldDef>& fields, char* out,
                       bool utf8, Close&& close) {
    for (const auto& fd : fields) {
        const unsigned char* p = rec + fd.Offset;
        if (fd.Type == 'C' && fd.Width == 1) {
            out = std::to_chars(out, out + 4, unsigned(p[0])).ptr;
        } else if (fd.Type == 'C') {
            const void* zero = std::memchr(p, 0, std::size_t(fd.Width));
            const std::size_t n =
                zero ? std::size_t(static_cast<const unsigned char*>(zero) - p) : fd.Width;
            const std::string_view text(reinterpret_cast<const char*>(p), n);
            if (utf8) {
                out = Cp1252ToUtf8Into(out, text);
            } else {
                std::memcpy(out, text.data(), n);
                out += n;
            }
        } else if (fd.Type == 'D') {
            out = WriteFixed4(out, GetF64(p));
        } else if (fd.Type == 'I') {
            out = std::to_chars(out, out + 11, GetU32(p)).ptr;
        }
        close(out);
    }
    return out;
}

// The same with `after` following each field.
inline char* FlatDecode(const unsigned char* rec, const std::vector<FieldDef>& fields, char* out,
                        char after, bool utf8 = false) {
    return FlatDecodeFields(rec, fields, out, utf8, [after](char*& p) { *p++ = after; });
}

// A cell of digits as a number (the cells a decoded record holds), read
// with the program's own digit reader.
inline std::uint64_t FlatDigits(std::string_view text) {
    std::uint64_t v = 0;
    ParseDigits(text, v);
    return v;
}

// A record's bytes from its cells, given as texts and where each ends:
// cells 2 and 3 the marks, cell 4 + i field i.
inline void FlatEncode(const char* texts, const std::uint32_t* ends,
                       const std::vector<FieldDef>& fields, unsigned char* rec, std::size_t size) {
    const auto cell = [&](std::size_t c) {
        const std::uint32_t begin = c ? ends[c - 1] : 0;
        return std::string_view(texts + begin, ends[c] - begin);
    };
    std::memset(rec, 0, size);
    rec[0] = cell(2) == "x" ? 42 : 0;
    rec[2] = static_cast<unsigned char>(FlatDigits(cell(3)));
    for (std::size_t i = 0; i < fields.size(); ++i) {
        const FieldDef& fd = fields[i];
        const std::string_view t = cell(4 + i);
        unsigned char* p = rec + fd.Offset;
        if (fd.Type == 'C' && fd.Width == 1) {
            p[0] = static_cast<unsigned char>(FlatDigits(t));
        } else if (fd.Type == 'C') {
            std::memcpy(p, t.data(), t.size());
        } else if (fd.Type == 'D') {
            double d = 0;
            ParsePlainDecimal(t, '.', d);
            PutF64(p, d);
        } else if (fd.Type == 'I') {
            PutU32(p, static_cast<std::uint32_t>(FlatDigits(t)));
        }
    }
}

} // namespace orvane::bench
