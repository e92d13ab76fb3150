#pragma once
#include <cstdlib>
#include <optional>
#include <string>

namespace tarvok::test {

// Changes one environment variable for a scope and puts its old value back
// at the end; a null value unsets it.
class ScopedEnv {
public:
    explicit ScopedEnv(const char* name) : name_(name)
    {
        if (const char* value = std::getenv(name))
            old_ = value;
    }
    ScopedEnv(const char* name, const char* value) : ScopedEnv(name) { Set(value); }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;
    ~ScopedEnv() { Set(old_ ? old_->c_str() : nullptr); }

    void Set(const char* value)
    {
#ifdef _WIN32
        // An empty value unsets the variable there.
        ::_putenv_s(name_, value ? value : "");
#else
        if (value)
            ::setenv(name_, value, 1);
        else
            ::unsetenv(name_);
#endif
    }

private:
    const char* name_;
    std::optional<std::string> old_;
};

} // namespace tarvok::test
