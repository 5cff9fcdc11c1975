#include "shell/window_placement.h"

#include <gtest/gtest.h>

#include <climits>

namespace rek {
namespace {

const QSize kWindow(820, 690);
const QRect kPrimary(0, 0, 1920, 1040);
const QRect kRightScreen(1920, 0, 1280, 1024);

QPoint place(std::int32_t left, std::int32_t top) {
    return placeWindow(left, top, kWindow, {kPrimary, kRightScreen}, kPrimary);
}

const QPoint kCentred((1920 - 820) / 2, (1040 - 690) / 2);

TEST(WindowPlacement, AStoredPositionTheUserCanReachIsKept) {
    EXPECT_EQ(place(100, 50), QPoint(100, 50));
    EXPECT_EQ(place(2500, 300), QPoint(2500, 300));    // on the second screen
    EXPECT_EQ(place(-700, 10), QPoint(-700, 10));      // partly off, its title bar still there
    EXPECT_EQ(place(1800, 1000), QPoint(1800, 1000));  // across both, near the bottom
}

TEST(WindowPlacement, APositionOffEveryScreenIsCentredOnThePrimaryOne) {
    EXPECT_EQ(place(-2'005'341'822, 10), kCentred);  // as a damaged Config.dat once gave
    EXPECT_EQ(place(10, -20), kCentred);             // the title bar above the screen
    EXPECT_EQ(place(3300, 100), kCentred);           // right of the second screen
    EXPECT_EQ(place(10, 1030), kCentred);            // below the bottom
    EXPECT_EQ(place(INT_MAX, INT_MAX), kCentred);
    EXPECT_EQ(place(INT_MIN, INT_MIN), kCentred);
    // A window larger than the screen starts at its corner.
    EXPECT_EQ(placeWindow(INT_MIN, 0, QSize(3000, 2000), {kPrimary}, kPrimary), QPoint(0, 0));
}

}  // namespace
}  // namespace rek
