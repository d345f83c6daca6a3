#pragma once

#include "ManualScheduler.h"
#include "NetWorld.h"
#include "QXReplyWatch.h"
#include "ScopedUserInfoData.h"

#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>
#include <QThread>

#include <gtest/gtest.h>

// The direct requests against a local server: the maker's API under "/api", the
// OCR and token hosts at the root. Virtual time from 1700000000 (14 Nov 2023), the
// network reachable, a fresh application state.
class DirectNetTest : public ::testing::Test, protected NetWorld {
protected:
    static constexpr qint64 kNow = 1700000000;

    void SetUp() override { ASSERT_TRUE(server.isListening()); }

    ManualScheduler scheduler{QDateTime::fromSecsSinceEpoch(kNow, QTimeZone::utc())};
    ScopedUserInfoData state;
};
