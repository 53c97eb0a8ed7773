#pragma once
// Tests whose hives live in a temporary folder, with the test's own hive reader.
#include "hivereader.h"

#include "platform/registry.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

class TempRegistryTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        qputenv("BVT_REGISTRY_DIR", QFile::encodeName(m_dir.path()));
    }
    void TearDown() override { qunsetenv("BVT_REGISTRY_DIR"); }

    // The keys of the root's hive file as the test's reader sees them.
    std::map<std::string, hivetest::RawKey> file(plat::reg::Root root) {
        const std::string name = plat::reg::hiveFile(root).toStdString();
        auto keys = hivetest::readHiveFile(name);
        EXPECT_TRUE(keys.has_value()) << "not a hive: " << name;
        return keys.value_or(std::map<std::string, hivetest::RawKey>{});
    }

    QTemporaryDir m_dir;
};
