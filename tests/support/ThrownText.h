// Reads the refusal a core operation throws as the user would read it.
#pragma once

#include "platform/Errors.h"

#include <string>

namespace orvane::testing {

// The wording in lang of the Error that work throws; empty when it throws none.
template <typename Error = OrvaneError, typename Work>
std::string ThrownText(Work&& work, Lang lang = Lang::English) {
    try {
        work();
    } catch (const Error& e) {
        return e.In(lang);
    }
    return {};
}

} // namespace orvane::testing
