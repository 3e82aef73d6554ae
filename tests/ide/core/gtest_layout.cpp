// The layout file's sections: missing keys stay unset, the collapse flag,
// the toolbar arrangement and a round trip.

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
                                           CollapsCase{"yes", false}));

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
