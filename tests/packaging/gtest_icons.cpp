// The workbench's icon is the square mark of its logo with the background
// around it made transparent, and scales to every size of the icon theme.
#include "IconMaker.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QPainter>

namespace {

const QString kLogo = QDir::cleanPath(QStringLiteral(VELMO_TEST_DATA "/../../../ide/app/images/logo.png"));

TEST(Icon, IsTheSquareMarkOfTheLogo)
{
    const QImage logo(kLogo);
    ASSERT_FALSE(logo.isNull()) << kLogo.toStdString();
    const QImage mark = LogoMark(logo);
    ASSERT_FALSE(mark.isNull());
    EXPECT_EQ(mark.width(), mark.height());
    EXPECT_LT(mark.width(), logo.width() / 2); // the mark, not the lettering beside it
    EXPECT_EQ(qAlpha(mark.pixel(0, 0)), 0); // rounded corners are transparent
    EXPECT_EQ(qAlpha(mark.pixel(mark.width() - 1, mark.height() - 1)), 0);
    const QRgb left = mark.pixel(mark.width() / 8, mark.height() / 2);
    EXPECT_EQ(qAlpha(left), 255);
    EXPECT_LT(qRed(left), 60); // the dark blue square
    // The "V": white where its left arm starts, and its edge is no hole.
    const QRgb letter = mark.pixel(mark.width() * 3 / 10, mark.height() * 3 / 10);
    EXPECT_EQ(qAlpha(letter), 255);
    EXPECT_GT(qRed(letter), 200);
    for (int x = 0; x < mark.width(); ++x) // no light fringe along the top
        EXPECT_TRUE(qAlpha(mark.pixel(x, 0)) < 255 || qRed(mark.pixel(x, 0)) < 60) << x;
}

TEST(Icon, FindsTheMarkBesideTheLettering)
{
    QImage logo(120, 40, QImage::Format_ARGB32);
    logo.fill(Qt::white);
    QPainter painter(&logo);
    painter.fillRect(QRect(3, 5, 30, 30), QColor(11, 61, 107));
    painter.fillRect(QRect(50, 10, 60, 20), QColor(11, 61, 107)); // the lettering
    painter.end();
    const QImage mark = LogoMark(logo);
    EXPECT_EQ(mark.size(), QSize(30, 30));
    EXPECT_EQ(qAlpha(mark.pixel(15, 15)), 255);
}

TEST(Icon, BlankLogoHasNoMark)
{
    QImage logo(40, 20, QImage::Format_ARGB32);
    logo.fill(Qt::white);
    EXPECT_TRUE(LogoMark(logo).isNull());
    EXPECT_TRUE(LogoMark(QImage()).isNull());
}

TEST(Icon, ComesInEveryThemeSize)
{
    const QImage mark = LogoMark(QImage(kLogo));
    for (int size : kIconSizes) {
        const QImage icon = IconOfSize(mark, size);
        EXPECT_EQ(icon.size(), QSize(size, size)) << size;
        EXPECT_LT(qAlpha(icon.pixel(0, 0)), 64) << size; // the rounded corner
    }
}

} // namespace
