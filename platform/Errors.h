// Typed errors thrown by the core. The windows catch them at the command
// boundary and show them; the batch tool prints them and exits non-zero.
#pragma once

#include <stdexcept>
#include <string>

namespace orvane {

class OrvaneError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

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

} // namespace orvane
