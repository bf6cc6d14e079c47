#pragma once
// Base fixture of every COM test: OLE is initialized on the test's thread
// (as on the program's UI thread), and every COM object of ours that the
// test made is gone again when it ends (the live-object count is back where
// it started).

#include <gtest/gtest.h>

#include <windows.h>
#include <ole2.h>

#include "common/module_lock.h"

namespace testing_support {

class ComTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(SUCCEEDED(::OleInitialize(nullptr)));
    oleInitialized_ = true;
    liveAtStart_ = common::module_lock::Count();
  }
  void TearDown() override {
    EXPECT_EQ(common::module_lock::Count(), liveAtStart_) << "COM objects of ours are still alive";
    if (oleInitialized_) ::OleUninitialize();
  }

  // The live objects made since the test began.
  long LiveObjects() const { return common::module_lock::Count() - liveAtStart_; }

 private:
  long liveAtStart_ = 0;
  bool oleInitialized_ = false;
};

}  // namespace testing_support
