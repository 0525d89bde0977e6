// The checked message formatter: fills a message text's placeholders ("%s" text, "%d"/"%i"
// number, "%%" a percent sign) with the arguments the caller gives, in order. Message texts come
// from language files that users edit, so they are data, never a printf format: a placeholder
// whose argument is missing or of another type, and any other "%" conversion, is shown as
// written and consumes nothing. No argument is ever read that the caller did not pass.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>
#include <variant>

namespace qv {

using MsgArg = std::variant<std::string, long long>;

// The text with its placeholders filled (see above).
std::string FormatMessage(std::string_view text, std::initializer_list<MsgArg> args);

}  // namespace qv
