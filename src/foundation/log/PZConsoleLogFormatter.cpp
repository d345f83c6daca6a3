#include "PZConsoleLogFormatter.h"

#include "PZLogMarks.h"

#include <spdlog/fmt/fmt.h>

void PZConsoleLogFormatter::format(const spdlog::details::log_msg &msg, spdlog::memory_buf_t &dest)
{
    fmt::format_to(std::back_inserter(dest), "[{} \u25CF {} \u25CF {}] {} \u25CF {}\n", PZLogMarks::fileName(msg),
                   msg.source.line, PZLogMarks::mark(msg.level), PZLogMarks::functionName(msg),
                   std::string_view(msg.payload.data(), msg.payload.size()));
}

std::unique_ptr<spdlog::formatter> PZConsoleLogFormatter::clone() const
{
    return std::make_unique<PZConsoleLogFormatter>();
}
