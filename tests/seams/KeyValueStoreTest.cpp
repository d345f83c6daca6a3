#include "KeyValueStore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {

// One conformance suite, run over every backend. reopen() simulates a relaunch: a new
// store over the same storage (the memory backend keeps its object).
struct Backend {
    friend void PrintTo(const Backend &b, std::ostream *os) { *os << b.name; }
    const char *name;
    std::function<std::unique_ptr<KeyValueStore>(const QString &dir)> open;
    bool persists;
};

class KeyValueStoreConformance : public ::testing::TestWithParam<Backend> {
protected:
    QTemporaryDir dir;
    std::unique_ptr<KeyValueStore> store = GetParam().open(dir.path());
    void relaunch()
    {
        if (GetParam().persists)
            store = GetParam().open(dir.path());
    }
};

TEST_P(KeyValueStoreConformance, AbsentDiffersFromEmptyText)
{
    EXPECT_FALSE(store->contains("k"));
    store->setValue("k", QString(""));
    relaunch();
    EXPECT_TRUE(store->contains("k"));
    EXPECT_EQ(store->stringValue("k"), "");
    store->remove("k");
    relaunch();
    EXPECT_FALSE(store->contains("k"));
    EXPECT_FALSE(store->value("k").isValid());
}

TEST_P(KeyValueStoreConformance, ScalarsRoundTrip)
{
    store->setValue("b", true);
    store->setValue("f", false);
    store->setValue("i", 42);
    store->setValue("big", qint64(1) << 40);
    store->setValue("d", 0.25);
    store->setValue("s", QString::fromUtf8("中文 text"));
    relaunch();
    EXPECT_TRUE(store->boolValue("b"));
    EXPECT_FALSE(store->boolValue("f"));
    EXPECT_TRUE(store->contains("f"));
    EXPECT_EQ(store->intValue("i"), 42);
    EXPECT_EQ(store->intValue("big"), qint64(1) << 40);
    EXPECT_DOUBLE_EQ(store->doubleValue("d"), 0.25);
    EXPECT_EQ(store->stringValue("s"), QString::fromUtf8("中文 text"));
}

TEST_P(KeyValueStoreConformance, JsonArraysAndPathKeys)
{
    QJsonArray arr{QJsonObject{{"code", "ZH_CN"}, {"name", "中文"}}, QJsonObject{{"code", "EN_US"}}};
    store->setJson("audioLanguageArrKey", arr);
    const QString pathKey = "/home/u/文档/a b%2F/c.txt";
    store->setValue(pathKey, QString("record"));
    store->setValue("plain", 1);
    relaunch();
    EXPECT_EQ(store->jsonArray("audioLanguageArrKey"), arr);
    EXPECT_EQ(store->stringValue(pathKey), "record");
    EXPECT_TRUE(store->keys().contains(pathKey));
    EXPECT_TRUE(store->jsonArray("plain").isEmpty()); // not JSON text: empty, not a crash
}

TEST_P(KeyValueStoreConformance, RegisteredDefaultsAreReadableNeverWritten)
{
    store->registerDefaults({{"punctuationSwitchKey", true}});
    EXPECT_TRUE(store->boolValue("punctuationSwitchKey"));
    EXPECT_FALSE(store->contains("punctuationSwitchKey"));
    store->setValue("punctuationSwitchKey", false);
    EXPECT_FALSE(store->boolValue("punctuationSwitchKey"));
    relaunch();
    EXPECT_TRUE(store->contains("punctuationSwitchKey"));
    EXPECT_FALSE(store->boolValue("punctuationSwitchKey"));
}

INSTANTIATE_TEST_SUITE_P(
    Backends, KeyValueStoreConformance,
    ::testing::Values(
        Backend{"memory", [](const QString &) { return std::make_unique<MemoryKeyValueStore>(); }, false},
        Backend{"ini", [](const QString &dir) { return std::make_unique<IniKeyValueStore>(dir + "/prefs/p.ini"); },
                true}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(IniKeyValueStoreTest, FileIsOwnerOnly)
{
    QTemporaryDir dir;
    IniKeyValueStore store(dir.filePath("p.ini"));
    store.setValue("token", QString("secret"));
    const auto perms = QFileInfo(dir.filePath("p.ini")).permissions();
    EXPECT_TRUE(perms & QFile::ReadOwner);
    EXPECT_FALSE(perms & (QFile::ReadGroup | QFile::ReadOther | QFile::WriteGroup | QFile::WriteOther));
}

TEST(IniKeyValueStoreTest, UnwritableFileKeepsValuesInMemory)
{
    QTemporaryDir dir;
    // A folder where the file should be: nothing can be written there.
    QDir(dir.path()).mkpath("p.ini");
    IniKeyValueStore store(dir.filePath("p.ini"));
    store.setValue("k", 5);
    store.setValue("k2", QString("v"));
    EXPECT_FALSE(store.isWritable());
    EXPECT_EQ(store.intValue("k"), 5);
    EXPECT_EQ(store.stringValue("k2"), "v");
}

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// A file that is not INI text is kept beside, byte for byte, and the store starts empty;
// a file the user made read-only is read and never written, its mode left alone.
TEST(IniKeyValueStoreTest, GarbageIsKeptBesideAndAReadOnlyFileIsLeftAlone)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("p.ini");
    const QByteArray garbage = QByteArray("\x7f"
                                          "ELF\x02 not [an ini\nfile\n")
                               + QByteArray(500, '\xfe');
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(garbage);
    file.close();
    {
        IniKeyValueStore store(path);
        EXPECT_TRUE(store.keys().isEmpty());
        store.setValue("kept", QString("v"));
    }
    const QStringList aside = QDir(dir.path()).entryList({"p.ini.unreadable-*"});
    ASSERT_EQ(aside.size(), 1);
    EXPECT_EQ(readAll(dir.filePath(aside.first())), garbage);

    const QFile::Permissions readOnly = QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther;
    ASSERT_TRUE(QFile::setPermissions(path, readOnly));
    const QByteArray before = readAll(path);
    {
        IniKeyValueStore store(path);
        EXPECT_FALSE(store.isWritable());
        EXPECT_EQ(store.stringValue("kept"), "v");
        store.setValue("kept", QString("changed"));
        store.setValue("new", 2);
        EXPECT_EQ(store.stringValue("kept"), "changed"); // for this run only
        EXPECT_EQ(store.keys().size(), 2);
    }
    EXPECT_EQ(QFileInfo(path).permissions() & 0x7077, readOnly);
    EXPECT_EQ(readAll(path), before);
}

} // namespace

// A launch writes back what the file already holds: nothing of it reaches the disk,
// and what does change in a batch is written out once, at its end.
TEST(KeyValueStoreWritesTest, UnchangedValuesAreNotWrittenAndABatchSyncsOnce)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("p.ini");
    {
        IniKeyValueStore first(path);
        first.setValue("b", true);
        first.setValue("i", 42);
        first.setValue("d", 0.25);
        first.setValue("s", QString("text"));
    }
    IniKeyValueStore store(path); // every value now read back as text
    ASSERT_TRUE(QFile::remove(path));
    store.setValue("b", true);
    store.setValue("i", 42);
    store.setValue("d", 0.25);
    store.setValue("s", QString("text"));
    store.remove("absent");
    EXPECT_FALSE(QFile::exists(path)) << "an unchanged value was written";

    {
        KeyValueStore::Batch outer(store);
        store.setValue("i", 43);
        {
            KeyValueStore::Batch inner(store);
            store.setValue("s", QString("new"));
            store.sync(); // asked for explicitly: still at the batch's end
        }
        EXPECT_FALSE(QFile::exists(path)) << "synchronised before the batch ended";
    }
    IniKeyValueStore reread(path);
    EXPECT_EQ(reread.intValue("i"), 43);
    EXPECT_EQ(reread.stringValue("s"), "new");
}
