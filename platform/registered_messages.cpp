#include "platform/registered_messages.h"

#include <mutex>
#include <string>
#include <unordered_map>

namespace hx {

namespace {

constexpr UINT kFirstRegisteredMessage = 0xC000;
constexpr UINT kLastRegisteredMessage = 0xFFFF;

struct stRegisteredNames {
    std::mutex mutex;
    std::unordered_map<std::string, UINT> ids;
};

stRegisteredNames& Names() {
    static auto* names = new stRegisteredNames;
    return *names;
}

std::string FoldedCase(const char* name) {
    std::string folded(name);
    for (char& c : folded) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return folded;
}

}  // namespace

UINT RegisterWindowMessage(const char* name) {
    if (name == nullptr || *name == '\0') {
        return 0;
    }
    stRegisteredNames& names = Names();
    const std::string key = FoldedCase(name);
    std::lock_guard lock(names.mutex);
    if (auto found = names.ids.find(key); found != names.ids.end()) {
        return found->second;
    }
    const UINT id = kFirstRegisteredMessage + static_cast<UINT>(names.ids.size());
    if (id > kLastRegisteredMessage) {
        return 0;
    }
    names.ids.emplace(key, id);
    return id;
}

}  // namespace hx
