// Environment variables a test changes, put back as they were (set or unset) when it ends, even
// when an assertion stops the test early.
#pragma once

#include <cstdlib>
#include <ctime>
#include <initializer_list>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace qvtest {

class ScopedEnv {
public:
    ScopedEnv(std::initializer_list<const char *> names) {
        for (const char *name : names) {
            const char *value = std::getenv(name);
            saved_.emplace_back(name, value ? std::optional<std::string>(value) : std::nullopt);
        }
    }
    ~ScopedEnv() {
        for (const auto &[name, value] : saved_) {
            if (value) ::setenv(name.c_str(), value->c_str(), 1);
            else ::unsetenv(name.c_str());
        }
        ::tzset();
    }
    ScopedEnv(const ScopedEnv &) = delete;
    ScopedEnv &operator=(const ScopedEnv &) = delete;

private:
    std::vector<std::pair<std::string, std::optional<std::string>>> saved_;
};

}  // namespace qvtest
