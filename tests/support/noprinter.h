// A fixture for the tests of printing without a printer: they skip on a machine that has one.
#pragma once

#include "support/support.h"

#include "render/print/printtarget.h"

#include <QPrinterInfo>
#include <gtest/gtest.h>

namespace testing_support {

class NoPrinter : public ::testing::Test {
protected:
    void SetUp() override {
        if (!render::currentPrinter().isNull())
            GTEST_SKIP() << "a printer is installed";
    }
    TempDir dir;
};

} // namespace testing_support
