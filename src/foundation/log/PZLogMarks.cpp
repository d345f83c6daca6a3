#include "PZLogMarks.h"

namespace PZLogMarks {

std::string_view mark(spdlog::level::level_enum level)
{
    switch (level) {
    case spdlog::level::err:
        return "\u274C";
    case spdlog::level::warn:
        return "W";
    case spdlog::level::info:
        return "I";
    case spdlog::level::debug:
        return "D";
    default:
        return "V";
    }
}

std::string_view fileName(const spdlog::details::log_msg &msg)
{
    if (!msg.source.filename)
        return {};
    std::string_view f(msg.source.filename);
    const auto slash = f.find_last_of('/');
    return slash == std::string_view::npos ? f : f.substr(slash + 1);
}

std::string_view functionName(const spdlog::details::log_msg &msg)
{
    return msg.source.funcname ? std::string_view(msg.source.funcname) : std::string_view();
}

} // namespace PZLogMarks
