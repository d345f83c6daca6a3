#pragma once

#include <spdlog/formatter.h>

#include <ctime>

// "[yyyy-MM-dd HH:mm:ss.SSS ● file ● line ● mark] function ● message", local time.
// One instance per file sink, so its cached date is only touched on that sink's thread.
class PZFileLogFormatter final : public spdlog::formatter {
public:
    void format(const spdlog::details::log_msg &msg, spdlog::memory_buf_t &dest) override;
    std::unique_ptr<spdlog::formatter> clone() const override;

    // The message's time stamp as "yyyy-MM-dd HH:mm:ss.SSS".
    std::string stringFromDate(spdlog::log_clock::time_point time);

private:
    // The date and time part changes once a second; keep it rather than redo the calendar.
    std::time_t m_cachedSecond = -1;
    char m_cachedText[32] = {};
};
