// The shape of a text the user reads in either language: a pair of printf
// wordings, and a wording with its arguments kept aside so that it can be
// put into the user's language where it is shown. The texts themselves are
// in the catalogue (settings/Texts.h).
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <type_traits>
#include <variant>
#include <vector>

namespace orvane {

enum class Lang { French, English };

struct BiText {
    const char* fr;
    const char* en;
    constexpr BiText(const char* french, const char* english) : fr(french), en(english) {}
    // A text that reads the same in both languages.
    constexpr BiText(const char* both) : fr(both), en(both) {}
    constexpr BiText() : fr(""), en("") {} // no text
    const char* In(Lang lang) const { return lang == Lang::English ? en : fr; }
};

class Message;

// One argument of a wording: a number, a text taken as it is, a catalogue
// text without arguments, or a whole message (a cause inside a message).
using TextArg = std::variant<long long, unsigned long long, double, std::string, BiText,
                             std::shared_ptr<const Message>>;

// A catalogue text and its arguments, worded on demand.
class Message {
  public:
    Message(BiText text, std::vector<TextArg> args) : text_(text), args_(std::move(args)) {}
    std::string In(Lang lang) const;
    const BiText& Text() const { return text_; }
    const std::vector<TextArg>& Args() const { return args_; }

  private:
    BiText text_;
    std::vector<TextArg> args_;
};

// Fills a printf-style format (%d, %s, %u, %lld, %%, with flags and widths)
// from the arguments in order, each catalogue text or message among them
// worded in lang. A specifier without an argument stays as it is written.
std::string FormatArgs(const char* format, const std::vector<TextArg>& args, Lang lang);

template <typename T> TextArg ToTextArg(const T& value) {
    if constexpr (std::is_same_v<T, TextArg>)
        return value;
    else if constexpr (std::is_same_v<T, bool>)
        return static_cast<long long>(value);
    else if constexpr (std::is_integral_v<T> && std::is_signed_v<T>)
        return static_cast<long long>(value);
    else if constexpr (std::is_integral_v<T>)
        return static_cast<unsigned long long>(value);
    else if constexpr (std::is_floating_point_v<T>)
        return static_cast<double>(value);
    else if constexpr (std::is_same_v<T, BiText>)
        return value;
    else if constexpr (std::is_base_of_v<Message, T>)
        return std::make_shared<const Message>(value);
    else if constexpr (requires { value.Wording(); }) // an error given as a cause
        return std::make_shared<const Message>(value.Wording());
    else
        return std::string(std::string_view(value));
}

template <typename... A> Message MessageOf(BiText text, const A&... args) {
    return Message(text, std::vector<TextArg>{ToTextArg(args)...});
}

} // namespace orvane
