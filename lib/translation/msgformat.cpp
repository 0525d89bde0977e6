// The checked message formatter (see msgformat.h).
#include "lib/translation/msgformat.h"

#include <vector>

namespace qv {

std::string FormatMessage(std::string_view text, std::initializer_list<MsgArg> args) {
    std::vector<const MsgArg *> list;
    for (const MsgArg &a : args) list.push_back(&a);
    std::string out;
    out.reserve(text.size() + 32);
    size_t next = 0;  // next argument
    for (size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c != '%' || i + 1 >= text.size()) {
            out += c;
            continue;
        }
        char conv = text[i + 1];
        if (conv == '%') {
            out += '%';
            ++i;
            continue;
        }
        const MsgArg *arg = next < list.size() ? list[next] : nullptr;
        if (conv == 's' && arg && std::holds_alternative<std::string>(*arg)) {
            out += std::get<std::string>(*arg);
            ++next;
            ++i;
        } else if ((conv == 'd' || conv == 'i') && arg && std::holds_alternative<long long>(*arg)) {
            out += std::to_string(std::get<long long>(*arg));
            ++next;
            ++i;
        } else {
            out += c;  // shown as written; the conversion letter follows as ordinary text
        }
    }
    return out;
}

}  // namespace qv
