#pragma once

#include "platform/IPermissionProbe.h"

#include <array>

// Answers what the test sets per capability and counts the requests.
class FakePermissionProbe : public platform::IPermissionProbe {
public:
    std::array<platform::PermissionCheck, platform::kPermissionKindCount> answers{};
    int checks = 0;
    int requests = 0;

    void set(platform::PermissionKind kind, platform::PermissionState state,
             platform::PermissionRemedy remedy = platform::PermissionRemedy::None, QString detail = {})
    {
        answers[int(kind)] = {state, remedy, std::move(detail)};
    }
    platform::PermissionCheck check(platform::PermissionKind kind) override
    {
        ++checks;
        return answers[int(kind)];
    }
    void requestInputMonitoring() override { ++requests; }
};
