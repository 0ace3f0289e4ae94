#include "ui/controls.h"

#include <gtest/gtest.h>

namespace bitwatch {
namespace {

TEST(ComboBox, SetTextNotifiesInsideTheCall) {
    ComboBox box;
    std::string seenDuringNotification;
    int notifications = 0;
    box.OnTextChanged([&] {
        ++notifications;
        seenDuringNotification = box.text();
    });
    box.SetText("Parity 4");
    EXPECT_EQ(notifications, 1);
    EXPECT_EQ(seenDuringNotification, "Parity 4");
    box.SetText("Parity 4");
    EXPECT_EQ(notifications, 2);
}

TEST(ComboBox, ListChangesNeitherNotifyNorTouchTheText) {
    ComboBox box;
    int notifications = 0;
    box.SetText("  typed");
    box.OnTextChanged([&] { ++notifications; });
    box.ClearList();
    box.AppendEntry("b");
    box.AppendEntry("a");
    EXPECT_EQ(notifications, 0);
    EXPECT_EQ(box.text(), "  typed");
    EXPECT_EQ(box.entries(), (std::vector<std::string>{"b", "a"}));
    box.ClearList();
    EXPECT_TRUE(box.entries().empty());
}

TEST(Timer, CountsRestartsOnlyWhileEnabled) {
    Timer timer;
    timer.SetInterval(10000);
    EXPECT_EQ(timer.restarts(), 0U);
    timer.SetEnabled(true);
    timer.SetInterval(10);
    EXPECT_EQ(timer.restarts(), 2U);
    timer.SetEnabled(false);
    timer.SetInterval(1000);
    EXPECT_EQ(timer.restarts(), 2U);
    EXPECT_FALSE(timer.enabled());
    EXPECT_EQ(timer.interval(), 1000);
}

} // namespace
} // namespace bitwatch
