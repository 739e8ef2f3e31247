// Rows meant to line up in columns get a face whose characters all take the same advance,
// whatever the desktop offers in place of the face asked for.
#include "ui/FixedWidthFont.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFontInfo>

namespace tirmo::ui {
namespace {

TEST(FixedWidthFont, MeasuresTheFaceAndFallsBackToOneWithEqualAdvances)
{
    const QString proportional = QFontInfo(QApplication::font()).family();
    ASSERT_FALSE(EqualAdvances(QApplication::font())) << "the desktop's text face is proportional";
    // Asked: a fixed-width face (or its stand-in), the proportional text face, a face nobody has.
    for (const QString& asked : {QStringLiteral("Courier New"), proportional, QStringLiteral("No Such Face 7")}) {
        SCOPED_TRACE(asked.toStdString());
        const QFont font = FixedWidthFont(asked, 11);
        EXPECT_TRUE(EqualAdvances(font)) << QFontInfo(font).family().toStdString();
        EXPECT_EQ(QFontInfo(font).pointSize(), 11);
    }
}

}  // namespace
}  // namespace tirmo::ui
