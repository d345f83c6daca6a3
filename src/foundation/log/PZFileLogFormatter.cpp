#include "PZFileLogFormatter.h"

#include "PZLogMarks.h"

#include <spdlog/fmt/fmt.h>

#include <chrono>
#include <cstdio>

void PZFileLogFormatter::format(const spdlog::details::log_msg &msg, spdlog::memory_buf_t &dest)
{
    const std::string stamp = stringFromDate(msg.time);
    fmt::format_to(std::back_inserter(dest), "[{} \u25CF {} \u25CF {} \u25CF {}] {} \u25CF {}\n", stamp,
                   PZLogMarks::fileName(msg), msg.source.line, PZLogMarks::mark(msg.level),
                   PZLogMarks::functionName(msg), std::string_view(msg.payload.data(), msg.payload.size()));
}

std::unique_ptr<spdlog::formatter> PZFileLogFormatter::clone() const
{
    return std::make_unique<PZFileLogFormatter>();
}

std::string PZFileLogFormatter::stringFromDate(spdlog::log_clock::time_point time)
{
    using namespace std::chrono;
    const auto sinceEpoch = time.time_since_epoch();
    const auto secs = duration_cast<seconds>(sinceEpoch);
    long long ms = duration_cast<milliseconds>(sinceEpoch - secs).count();
    std::time_t t = secs.count();
    if (ms < 0) { // before 1970: keep the millisecond part positive
        ms += 1000;
        --t;
    }
    if (t != m_cachedSecond) {
        std::tm tm{};
        if (!localtime_r(&t, &tm) || std::strftime(m_cachedText, sizeof m_cachedText, "%Y-%m-%d %H:%M:%S", &tm) == 0)
            m_cachedText[0] = '\0';
        m_cachedSecond = t;
    }
    char out[64];
    std::snprintf(out, sizeof out, "%s.%03lld", m_cachedText, ms);
    return out;
}
