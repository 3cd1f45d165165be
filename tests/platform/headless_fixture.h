// A fresh headless device with all input and application state reset.
#pragma once
#include <gtest/gtest.h>

#include "platform/app.h"
#include "platform/headless_device.h"
#include "platform/input.h"

class HeadlessTest : public ::testing::Test {
 protected:
  plat::HeadlessDevice dev;
  void SetUp() override {
    plat::use_device(&dev);
    input::reset_all();
    app::reset_state();
  }
  void TearDown() override { plat::use_device(nullptr); }
};
