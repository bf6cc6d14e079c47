#pragma once
// Base fixture of every COM test: OLE on the test's thread, and at the end
// every COM object of the test program and of Traylume.ocx gone again, so a
// missing Release fails the test that leaked.

#include <gtest/gtest.h>

#include <windows.h>
#include <ole2.h>

#include "common/module_lock.h"
#include "tests/support/control_server.h"

namespace support {

class ComTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(SUCCEEDED(::OleInitialize(nullptr)));
    liveAtStart_ = common::module_lock::Count();
  }
  void TearDown() override {
    EXPECT_EQ(common::module_lock::Count(), liveAtStart_) << "objects of the test program are still alive";
    EXPECT_EQ(ControlCanUnloadNow(), S_OK) << "objects of Traylume.ocx are still alive";
    ::OleUninitialize();
  }

 private:
  long liveAtStart_ = 0;
};

}  // namespace support
