#pragma once
// A Windows test with the suite installed (program directory C:\Velkaro) and a fresh
// folder of its own for the files it makes.
#include <gtest/gtest.h>
#include <string>

class InstalledSuiteTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    // `name` inside the test's folder.
    std::string Path(const std::string& name) const { return folder_ + "\\" + name; }

    std::string folder_;
};
