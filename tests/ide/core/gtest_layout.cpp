// The layout file's sections: missing keys stay unset, the collapse flag,
// the toolbar arrangement and a round trip.

#include "../support/CaseNames.h"
#include "../support/IniFileFixture.h"
#include "IniFile.h"
#include "Layout.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

using LayoutTest = TIniFileFixture;

TEST_F(LayoutTest, MissingKeysStayUnset)
{
    WriteRaw("[MainForm]\r\nLeft=10\r\nTop=oops\r\n");
    const TWindowPlacement p = Layout::ReadPlacement(TIniFile(Path()));
    EXPECT_EQ(p.left, 10);
    EXPECT_FALSE(p.top.has_value());
    EXPECT_FALSE(p.right.has_value());
    EXPECT_FALSE(p.maximized.has_value());
    const TPanelGeometry g = Layout::ReadPanel(TIniFile(Path()));
    EXPECT_FALSE(g.width.has_value());
    EXPECT_FALSE(g.collapsed);
}

struct CollapsCase {
    const char *value;
    bool collapsed;
};

class CollapsTest : public LayoutTest, public ::testing::WithParamInterface<CollapsCase> { };

TEST_P(CollapsTest, OnlyOneMeansCollapsed)
{
    WriteRaw(QByteArray("[WorkDirPanel]\r\nCollaps=") + GetParam().value + "\r\n");
    EXPECT_EQ(Layout::ReadPanel(TIniFile(Path())).collapsed, GetParam().collapsed) << GetParam().value;
}

INSTANTIATE_TEST_SUITE_P(Table, CollapsTest,
                         ::testing::Values(CollapsCase{"1", true}, CollapsCase{"0", false}, CollapsCase{"2", false},
                                           CollapsCase{"-1", false}, CollapsCase{"0x1", true},
                                           CollapsCase{"yes", false}),
                         NameByField(&CollapsCase::value));

TEST_F(LayoutTest, ToolBarsNeedAPositiveCount)
{
    WriteRaw("[ToolBars]\r\nToolBarCount=0\r\nName1=EditToolBar\r\n");
    EXPECT_TRUE(Layout::ReadToolBars(TIniFile(Path())).bars.isEmpty());
    WriteRaw("[ToolBars]\r\nName1=EditToolBar\r\n");
    EXPECT_TRUE(Layout::ReadToolBars(TIniFile(Path())).bars.isEmpty());
}

TEST_F(LayoutTest, ToolBarsSkipMissingNames)
{
    WriteRaw("[ToolBars]\r\nToolBarCount=3\r\nRowCount=1\r\nName1=EditToolBar\r\nName3=ControllerToolBar\r\n"
             "ControllerToolBar.Visible=0\r\nControllerToolBar.Left=300\r\n");
    const TToolBarArrangement a = Layout::ReadToolBars(TIniFile(Path()));
    ASSERT_EQ(a.bars.size(), 2);
    EXPECT_EQ(a.bars[0].name, "EditToolBar");
    EXPECT_TRUE(a.bars[0].visible);
    EXPECT_EQ(a.bars[1].name, "ControllerToolBar");
    EXPECT_FALSE(a.bars[1].visible);
    EXPECT_EQ(a.bars[1].left, 300);
}

// Absurd numbers in the layout file are cut to what the program can hold,
// so nothing loops for long and no sum overflows.
struct ExtremeCase {
    const char *name;
    QByteArray file;
    int (*read)(const TIniFile &ini);
    int expected;
};

QByteArray ManyToolBars(int count)
{
    QByteArray text = "[ToolBars]\r\nToolBarCount=2147483647\r\nRowCount=2147483647\r\n";
    for (int i = 1; i <= count; ++i)
        text += "Name" + QByteArray::number(i) + "=Bar" + QByteArray::number(i) + "\r\n";
    return text;
}

const ExtremeCase kExtremeCases[] = {
    {"tool bar count", ManyToolBars(40), [](const TIniFile &ini) { return int(Layout::ReadToolBars(ini).bars.size()); },
     Layout::kMaxToolBars},
    {"row count", ManyToolBars(1), [](const TIniFile &ini) { return Layout::ReadToolBars(ini).rowCount; },
     Layout::kMaxToolBars},
    {"tool bar row", "[ToolBars]\r\nToolBarCount=1\r\nName1=EditToolBar\r\nEditToolBar.Row=-5\r\n",
     [](const TIniFile &ini) { return Layout::ReadToolBars(ini).bars.value(0).row; }, 0},
    {"tool bar left", "[ToolBars]\r\nToolBarCount=1\r\nName1=EditToolBar\r\nEditToolBar.Left=-2147483648\r\n",
     [](const TIniFile &ini) { return Layout::ReadToolBars(ini).bars.value(0).left; }, -Layout::kMaxCoordinate},
    {"window right", "[MainForm]\r\nRight=-2147483648\r\n",
     [](const TIniFile &ini) { return *Layout::ReadPlacement(ini).right; }, -Layout::kMaxCoordinate},
    {"window left in hex", "[MainForm]\r\nLeft=0x7FFFFFFF\r\n",
     [](const TIniFile &ini) { return *Layout::ReadPlacement(ini).left; }, Layout::kMaxCoordinate},
    {"panel width", "[WorkDirPanel]\r\nWidth=2147483647\r\n",
     [](const TIniFile &ini) { return *Layout::ReadPanel(ini).width; }, Layout::kMaxCoordinate},
};

class ExtremeNumberTest : public LayoutTest, public ::testing::WithParamInterface<ExtremeCase> { };

TEST_P(ExtremeNumberTest, IsCutToWhatTheProgramHolds)
{
    WriteRaw(GetParam().file);
    EXPECT_EQ(GetParam().read(TIniFile(Path())), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Table, ExtremeNumberTest, ::testing::ValuesIn(kExtremeCases), NameByField(&ExtremeCase::name));

struct FitCase {
    const char *name;
    QRect stored;
    std::optional<QRect> fitted;
};

// Two screens side by side, 1920 x 1080 and 1280 x 1024.
const QList<QRect> kScreens = {QRect(0, 0, 1920, 1080), QRect(1920, 0, 1280, 1024)};

const FitCase kFitCases[] = {
    {"fits", QRect(40, 50, 700, 560), QRect(40, 50, 700, 560)},
    {"wider than its screen", QRect(0, 0, 1 << 20, 600), QRect(0, 0, 1920, 600)},
    {"mostly on the smaller screen", QRect(1900, 10, 3000, 3000), QRect(1900, 10, 1280, 1024)},
    {"on no screen", QRect(-30000, -30000, 1000, 1000), std::nullopt},
    {"too small", QRect(10, 10, 99, 500), std::nullopt},
    {"upside down", QRect(QPoint(0, 0), QPoint(500, -(1 << 20))), std::nullopt},
};

class FitWindowTest : public ::testing::TestWithParam<FitCase> { };

TEST_P(FitWindowTest, IsNoLargerThanItsScreen)
{
    EXPECT_EQ(Layout::FitWindow(GetParam().stored, kScreens, 100), GetParam().fitted);
}

INSTANTIATE_TEST_SUITE_P(Table, FitWindowTest, ::testing::ValuesIn(kFitCases), NameByField(&FitCase::name));

TEST(FitPanelWidthTest, LeavesTheEditorItsRoom)
{
    const struct {
        std::optional<int> stored;
        std::optional<int> fitted;
    } table[] = {
        {std::nullopt, std::nullopt},  {74, std::nullopt}, {75, 75}, {260, 260}, {533, 533}, {534, 533},
        {Layout::kMaxCoordinate, 533},
    };
    for (const auto &row : table)
        EXPECT_EQ(Layout::FitPanelWidth(row.stored, 75, 633, 100), row.fitted) << row.stored.value_or(-1);
    EXPECT_EQ(Layout::FitPanelWidth(300, 75, 120, 100), 75); // a window too narrow for both
}

TEST_F(LayoutTest, RoundTrip)
{
    TIniFile ini(Path());
    TWindowPlacement p;
    p.left = 5;
    p.top = 6;
    p.right = 705;
    p.bottom = 606;
    p.maximized = true;
    Layout::WritePlacement(ini, p);
    TPanelGeometry g;
    g.top = 0;
    g.left = 0;
    g.height = g.fullHeight = 400;
    g.width = 250;
    Layout::WritePanel(ini, g);
    TToolBarArrangement a;
    a.rowCount = 2;
    a.bars << TToolBarPlacement{"EditToolBar", 0, 0, 0, 500, 26, true}
           << TToolBarPlacement{"ControllerToolBar", 1, 0, 26, 300, 26, false};
    Layout::WriteToolBars(ini, a);

    const TWindowPlacement p2 = Layout::ReadPlacement(ini);
    EXPECT_EQ(p2.left, 5);
    EXPECT_EQ(p2.bottom, 606);
    EXPECT_EQ(p2.maximized, true);
    EXPECT_EQ(Layout::ReadPanel(ini).width, 250);
    EXPECT_EQ(ini.ReadString("WorkDirPanel", "Collaps", ""), "0");
    const TToolBarArrangement a2 = Layout::ReadToolBars(ini);
    EXPECT_EQ(a2.rowCount, 2);
    ASSERT_EQ(a2.bars.size(), 2);
    EXPECT_EQ(a2.bars[1].name, "ControllerToolBar");
    EXPECT_EQ(a2.bars[1].row, 1);
    EXPECT_EQ(a2.bars[1].top, 26);
    EXPECT_FALSE(a2.bars[1].visible);
    EXPECT_EQ(ini.ReadString("ToolBars", "ControllerToolBar.Visible", ""), "0");
}

} // namespace
