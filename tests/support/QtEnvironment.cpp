// One application for the whole test program, on the offscreen platform with the
// 1920x1080 screen of tests/data/screen.json. Every test starts with a modal-dialog
// interceptor that fails the test instead of blocking: a modal window or dialog that
// a test does not answer itself can never hang the run.
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

class UnansweredModals : public ::testing::EmptyTestEventListener {
    void OnTestStart(const ::testing::TestInfo&) override {
        SetModalInterceptor([](TModalRequest& r) {
            ADD_FAILURE() << "modal window not answered by the test (kind " << int(r.Kind)
                          << "): " << U8(r.Caption) << " / " << U8(r.Text);
            return 0;
        });
    }
};

const auto* registered = ::testing::AddGlobalTestEnvironment(new QtEnvironment);
const bool listening = [] {
    ::testing::UnitTest::GetInstance()->listeners().Append(new UnansweredModals);
    return true;
}();

} // namespace
