#pragma once

#include <spdlog/common.h>
#include <spdlog/details/log_msg.h>

#include <string_view>

// Pieces both log line formats share.
namespace PZLogMarks {

// One mark per level: error "❌", warning "W", info "I", debug "D", anything else "V".
std::string_view mark(spdlog::level::level_enum level);
// The last path component of the source file ("" when unknown).
std::string_view fileName(const spdlog::details::log_msg &msg);
std::string_view functionName(const spdlog::details::log_msg &msg);

} // namespace PZLogMarks
