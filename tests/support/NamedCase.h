// A row of a parameterised test, called by its name in the test's name and
// in failure messages: struct MyCase : NamedCase { ... }, rows {"Name", ...},
// INSTANTIATE_TEST_SUITE_P(..., CaseName).
#pragma once

#include <concepts>
#include <ostream>
#include <string>

namespace orvane::testing {

struct NamedCase {
    const char* name;
};

template <std::derived_from<NamedCase> Case> void PrintTo(const Case& c, std::ostream* os) {
    *os << c.name;
}

inline constexpr auto CaseName = [](const auto& info) { return std::string(info.param.name); };

} // namespace orvane::testing
