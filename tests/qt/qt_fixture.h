// The Qt front end's tests share one application per test suite on the offscreen platform and
// a fresh desktop per test. Never leaves a window or a front end behind.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <memory>

#include "qt/qt_front_end.h"
#include "ui/controls.h"
#include "ui/desktop.h"

namespace tolvane::testing {

class QtTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        static int argc = 1;
        static char name[] = "test_qt";
        static char* argv[] = {name, nullptr};
        app = new QApplication(argc, argv);
    }
    static void TearDownTestSuite() {
        delete app;
        app = nullptr;
    }
    void SetUp() override { ui::desktop().reset(); }
    void TearDown() override {
        endFrontEnd();
        ui::desktop().reset();
    }
    void endFrontEnd() {
        frontEnd.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    QWidget* widget(const ui::Control& c) {
        QWidget* w = frontEnd->widgetOf(c);
        EXPECT_NE(w, nullptr) << c.displayName();
        return w;
    }

    static inline QApplication* app = nullptr;
    std::unique_ptr<qt::QtFrontEnd> frontEnd;
};

}  // namespace tolvane::testing
