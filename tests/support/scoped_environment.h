#pragma once
// For tests: one variable of this process's environment set (or removed) for
// the life of the object, and put back as it was afterwards. The environment
// is the whole process's: use it only while no other thread reads it.

#include <optional>
#include <string>

namespace hx {

class CScopedEnvironment {
public:
    // nullopt removes the variable.
    CScopedEnvironment(std::string name, const std::optional<std::string>& value);
    ~CScopedEnvironment();
    CScopedEnvironment(const CScopedEnvironment&) = delete;
    CScopedEnvironment& operator=(const CScopedEnvironment&) = delete;

private:
    std::string m_name;
    std::optional<std::string> m_previous;
};

}  // namespace hx
