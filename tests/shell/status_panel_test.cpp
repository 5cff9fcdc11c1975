// The status bar's parts keep their places, and what does not fit them is still readable.

#include <gtest/gtest.h>

#include "shell/status_panel.h"

namespace rek {
namespace {

QLabel& part(StatusPanel& panel, int index) {
    return *panel.findChildren<QLabel*>().at(index);
}

TEST(StatusPanelTest, ALongCountWidensItsPartAtTheHintsExpenseAndTheSizeStays) {
    StatusPanel panel;
    panel.resize(800, 20);
    panel.setPartText(StatusPanel::VertexCount, QStringLiteral("頂点の数：12"));
    EXPECT_EQ(part(panel, 0).maximumWidth(), 100);
    EXPECT_EQ(part(panel, 1).maximumWidth(), 500);

    panel.setPartText(StatusPanel::VertexCount, QStringLiteral("頂点の数：1234567890"));
    QLabel& count = part(panel, 0);
    const int needed = count.fontMetrics().horizontalAdvance(count.text());
    EXPECT_GT(count.maximumWidth(), needed);
    EXPECT_EQ(count.maximumWidth() + part(panel, 1).maximumWidth(), 500 + 100);
    EXPECT_EQ(part(panel, 2).maximumWidth(), 200);

    panel.setPartText(StatusPanel::VertexCount, QStringLiteral("頂点の数：0"));
    EXPECT_EQ(part(panel, 0).maximumWidth(), 100);
    EXPECT_EQ(part(panel, 1).maximumWidth(), 500);
}

TEST(StatusPanelTest, AHintTooLongForItsPartIsItsTooltipUntilAShortOneComes) {
    StatusPanel panel;
    const QString longHint = QString(QStringLiteral("範囲をドラッグで選択。")).repeated(6);
    panel.setPartText(StatusPanel::Hint, longHint);
    EXPECT_EQ(part(panel, 1).toolTip(), longHint);
    panel.setPartText(StatusPanel::Hint, QStringLiteral("短い。"));
    EXPECT_TRUE(part(panel, 1).toolTip().isEmpty());
}

}  // namespace
}  // namespace rek
