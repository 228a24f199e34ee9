// One application for the whole test program, on the offscreen platform with the
// 1920x1080 screen of tests/data/screen.json.
#include <gtest/gtest.h>

#include "platform/Forms.h"

namespace {

class QtEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        QByteArray platform = qgetenv("QT_QPA_PLATFORM");
        if (platform.isEmpty() || platform == "offscreen")
            qputenv("QT_QPA_PLATFORM",
                    QByteArray("offscreen:configfile=") + QUORBEL_TEST_DATA "/screen.json");
        InitApplication();
    }
};

const auto* registered = ::testing::AddGlobalTestEnvironment(new QtEnvironment);

} // namespace
