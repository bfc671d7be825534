// Test glue for anything that opens windows: a clean desktop per test and a scripted driver
// whose failures (an unexpected window, a script step never used) are test failures.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "ui/desktop.h"
#include "ui/scripted_driver.h"

namespace tolvane::ui {

class WindowTest : public ::testing::Test {
  protected:
    WindowTest() {
        driver.setFailureHook([](const std::string& text) { ADD_FAILURE() << text; });
    }
    ~WindowTest() override { desktop().reset(); }

  private:
    struct CleanDesktop {
        CleanDesktop() { desktop().reset(); }
    } clean_;

  protected:
    ScriptedDriver driver;
};

}  // namespace tolvane::ui
