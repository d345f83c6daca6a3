#pragma once

#include "FakeSceneState.h"
#include "NetWorld.h"

#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>
#include <QThread>

#include <gtest/gtest.h>

// Every service base points at a fresh local server; the network counts as
// reachable.
class NetServerTest : public ::testing::Test, protected NetWorld {
protected:
    void SetUp() override { ASSERT_TRUE(server.isListening()); }
};

// ... with a fake application state.
class NetTest : public NetServerTest {
protected:
    FakeSceneState state;
};
