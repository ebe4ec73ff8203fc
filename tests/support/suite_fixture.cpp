#include "support/suite_fixture.h"

#include "support/test_files.h"

void InstalledSuiteTest::SetUp() {
    InstallSuite("C:\\Velkaro");
    folder_ = FreshFolder(::testing::UnitTest::GetInstance()->current_test_suite()->name());
}

void InstalledSuiteTest::TearDown() {
    UninstallSuite();
}
