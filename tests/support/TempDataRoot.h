#pragma once

#include "DataPaths.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

// Points the data root at a fresh temporary folder for the life of the object.
class TempDataRoot {
public:
    TempDataRoot() { DataPaths::setDataRootOverride(m_dir.path()); }
    ~TempDataRoot() { DataPaths::setDataRootOverride({}); }
    QString path() const { return m_dir.path(); }
    QString file(const QString &name) const { return m_dir.filePath(name); }

private:
    QTemporaryDir m_dir;
};

// Fixture form.
class DataRootTest : public ::testing::Test {
protected:
    TempDataRoot root;
};
