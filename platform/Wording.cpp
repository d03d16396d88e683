#include "platform/Wording.h"

#include <cstdio>
#include <cstring>

namespace orvane {

namespace {

template <typename V> std::string Printed(const std::string& spec, V value) {
    const int n = std::snprintf(nullptr, 0, spec.c_str(), value);
    if (n <= 0) return {};
    std::string out(static_cast<std::size_t>(n) + 1, '\0');
    std::snprintf(out.data(), out.size(), spec.c_str(), value);
    out.resize(static_cast<std::size_t>(n));
    return out;
}

struct Number {
    long long whole = 0;
    unsigned long long natural = 0;
    double real = 0;
};

// One specifier filled from one argument. spec is the specifier without its
// length letters and conversion ("%-5", "%.2"); conv the conversion letter.
std::string Filled(const std::string& spec, char conv, const TextArg& arg, Lang lang) {
    std::string text;
    bool isText = true;
    Number n;
    if (const auto* v = std::get_if<long long>(&arg)) {
        isText = false;
        n = {*v, static_cast<unsigned long long>(*v), static_cast<double>(*v)};
    } else if (const auto* u = std::get_if<unsigned long long>(&arg)) {
        isText = false;
        n = {static_cast<long long>(*u), *u, static_cast<double>(*u)};
    } else if (const auto* d = std::get_if<double>(&arg)) {
        isText = false;
        n = {static_cast<long long>(*d), static_cast<unsigned long long>(*d), *d};
    } else if (const auto* s = std::get_if<std::string>(&arg)) {
        text = *s;
    } else if (const auto* b = std::get_if<BiText>(&arg)) {
        text = b->In(lang);
    } else {
        const auto& m = std::get<std::shared_ptr<const Message>>(arg);
        if (m) text = m->In(lang);
    }
    switch (conv) {
    case 'd':
    case 'i':
        return isText ? text : Printed(spec + "lld", n.whole);
    case 'u':
    case 'x':
    case 'X':
    case 'o':
        return isText ? text : Printed(spec + "ll" + conv, n.natural);
    case 'f':
    case 'F':
    case 'e':
    case 'E':
    case 'g':
    case 'G':
        return isText ? text : Printed(spec + conv, n.real);
    case 'c':
        return isText ? text : std::string(1, static_cast<char>(n.whole));
    default: // 's' and anything else: the text, or the number as digits
        return Printed(spec + 's', isText ? text.c_str() : std::to_string(n.whole).c_str());
    }
}

} // namespace

std::string FormatArgs(const char* format, const std::vector<TextArg>& args, Lang lang) {
    std::string out;
    std::size_t next = 0;
    for (const char* p = format; *p;) {
        if (*p != '%') {
            out += *p++;
            continue;
        }
        if (p[1] == '%') {
            out += '%';
            p += 2;
            continue;
        }
        const char* start = p++;
        std::string spec = "%";
        while (*p && std::strchr("-+ #0", *p))
            spec += *p++;
        while (*p && ((*p >= '0' && *p <= '9') || *p == '.'))
            spec += *p++;
        while (*p && std::strchr("hljztL", *p))
            ++p;
        if (!*p) {
            out.append(start);
            break;
        }
        const char conv = *p++;
        if (next < args.size())
            out += Filled(spec, conv, args[next++], lang);
        else
            out.append(start, p);
    }
    return out;
}

std::string Message::In(Lang lang) const {
    return FormatArgs(text_.In(lang), args_, lang);
}

} // namespace orvane
