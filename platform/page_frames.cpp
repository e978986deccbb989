#include "platform/page_frames.h"

#include <exception>
#include <nlohmann/json.hpp>

namespace hx {

std::optional<stPageCommand> ParsePageFrame(std::string_view frame, std::string& problem) {
    if (frame.size() > kMaxPageFrameBytes) {
        problem = std::to_string(kMaxPageFrameBytes) + "바이트 초과";
        return std::nullopt;
    }
    try {
        // The page speaks UTF-8, as the program does inside, so its texts
        // are taken as they are; the Flash movie it stands in for took code
        // page 949. The parser refuses ill-formed UTF-8.
        const nlohmann::json doc = nlohmann::json::parse(frame, nullptr, false);
        if (doc.is_discarded()) {
            problem = "JSON 아님";
            return std::nullopt;
        }
        if (!doc.is_object()) {
            problem = "JSON 객체 아님";
            return std::nullopt;
        }
        const auto command = doc.find("fscommand");
        if (command == doc.end() || !command->is_string()) {
            problem = "텍스트 \"fscommand\" 없음";
            return std::nullopt;
        }
        const auto args = doc.find("args");
        if (args != doc.end() && !args->is_string()) {
            problem = "\"args\"가 텍스트 아님";
            return std::nullopt;
        }
        return stPageCommand{command->get<std::string>(),
                             args == doc.end() ? std::string() : args->get<std::string>()};
    } catch (const std::exception& failure) {
        problem = std::string("읽을 수 없음: ") + failure.what();
        return std::nullopt;
    }
}

std::string BuildInvokeFrame(std::string_view request) {
    const nlohmann::json frame = {{"invoke", std::string(request)}};
    return frame.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

std::string BuildMessageBoxFrame(std::string_view caption, std::string_view text) {
    const nlohmann::json frame = {
        {"messageBox", {{"caption", std::string(caption)}, {"text", std::string(text)}}}};
    return frame.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

}  // namespace hx
