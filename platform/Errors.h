// Typed errors thrown by the core. Each carries a catalogue text and its
// arguments rather than a finished sentence: the windows' command boundary
// words it in the user's language, the batch tool in its own (English).
// what() holds the English wording.
#pragma once

#include "platform/Wording.h"

#include <stdexcept>
#include <string>

namespace orvane {

class OrvaneError : public std::runtime_error {
  public:
    template <typename... A>
    explicit OrvaneError(BiText text, const A&... args) : OrvaneError(MessageOf(text, args...)) {}
    explicit OrvaneError(Message message)
        : std::runtime_error(message.In(Lang::English)), message_(std::move(message)) {}
    // Every text the user reads comes from the catalogue: no error is made
    // from a finished sentence.
    template <typename... A> OrvaneError(const char*, const A&...) = delete;
    template <typename... A> OrvaneError(const std::string&, const A&...) = delete;

    std::string In(Lang lang) const { return message_.In(lang); }
    const Message& Wording() const { return message_; }

  private:
    Message message_;
};

// The message of any exception in lang: a core error's own wording, another
// exception's what() as it is.
inline std::string MessageIn(const std::exception& e, Lang lang) {
    if (const auto* core = dynamic_cast<const OrvaneError*>(&e)) return core->In(lang);
    return e.what();
}

// A file that cannot be opened, created, read, written or renamed.
class FileError : public OrvaneError {
  public:
    using OrvaneError::OrvaneError;
};

// A file whose contents do not follow its format (bad counts, offsets, sizes).
class FormatError : public OrvaneError {
  public:
    using OrvaneError::OrvaneError;
};

// A cell text that does not convert into the bytes its field needs.
class ConversionError : public OrvaneError {
  public:
    using OrvaneError::OrvaneError;
};

// A request the program refuses (an extraction outside its folder, a row
// without a record, ...).
class RefusedError : public OrvaneError {
  public:
    using OrvaneError::OrvaneError;
};

// The direct write refused because the archive on disk is no longer the file
// the table was loaded from: the window offers to load it again.
class ArchiveChangedError : public RefusedError {
  public:
    using RefusedError::RefusedError;
};

} // namespace orvane
