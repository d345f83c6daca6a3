#pragma once

#include <spdlog/formatter.h>

// "[file ● line ● mark] function ● message": the console (journal) adds its own time.
class PZConsoleLogFormatter final : public spdlog::formatter {
public:
    void format(const spdlog::details::log_msg &msg, spdlog::memory_buf_t &dest) override;
    std::unique_ptr<spdlog::formatter> clone() const override;
};
