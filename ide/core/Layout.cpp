#include "Layout.h"

namespace Layout {

namespace {

const QString kMainForm = QStringLiteral("MainForm");
const QString kPanel = QStringLiteral("WorkDirPanel");
const QString kToolBars = QStringLiteral("ToolBars");

std::optional<int> ReadOptional(const TIniFile &ini, const QString &section, const QString &key)
{
    int value = 0;
    if (TIniFile::ParseInteger(ini.ReadString(section, key, QString()), value))
        return value;
    return std::nullopt;
}

void WriteOptional(TIniFile &ini, const QString &section, const QString &key, const std::optional<int> &value)
{
    if (value)
        ini.WriteInteger(section, key, *value);
}

} // namespace

TWindowPlacement ReadPlacement(const TIniFile &ini)
{
    TWindowPlacement p;
    p.left = ReadOptional(ini, kMainForm, "Left");
    p.top = ReadOptional(ini, kMainForm, "Top");
    p.right = ReadOptional(ini, kMainForm, "Right");
    p.bottom = ReadOptional(ini, kMainForm, "Bottom");
    if (const std::optional<int> max = ReadOptional(ini, kMainForm, "Maximized"))
        p.maximized = *max != 0;
    return p;
}

void WritePlacement(TIniFile &ini, const TWindowPlacement &p)
{
    WriteOptional(ini, kMainForm, "Left", p.left);
    WriteOptional(ini, kMainForm, "Top", p.top);
    WriteOptional(ini, kMainForm, "Right", p.right);
    WriteOptional(ini, kMainForm, "Bottom", p.bottom);
    if (p.maximized)
        ini.WriteBool(kMainForm, "Maximized", *p.maximized);
}

TPanelGeometry ReadPanel(const TIniFile &ini)
{
    TPanelGeometry g;
    g.top = ReadOptional(ini, kPanel, "Top");
    g.left = ReadOptional(ini, kPanel, "Left");
    g.height = ReadOptional(ini, kPanel, "Height");
    g.fullHeight = ReadOptional(ini, kPanel, "FullHeight");
    g.width = ReadOptional(ini, kPanel, "Width");
    g.collapsed = ini.ReadInteger(kPanel, "Collaps", 0) == 1;
    return g;
}

void WritePanel(TIniFile &ini, const TPanelGeometry &g)
{
    WriteOptional(ini, kPanel, "Top", g.top);
    WriteOptional(ini, kPanel, "Left", g.left);
    WriteOptional(ini, kPanel, "Height", g.height);
    WriteOptional(ini, kPanel, "FullHeight", g.fullHeight);
    WriteOptional(ini, kPanel, "Width", g.width);
    ini.WriteBool(kPanel, "Collaps", g.collapsed);
}

TToolBarArrangement ReadToolBars(const TIniFile &ini)
{
    TToolBarArrangement a;
    const int count = ini.ReadInteger(kToolBars, "ToolBarCount", 0);
    if (count <= 0)
        return a;
    a.rowCount = ini.ReadInteger(kToolBars, "RowCount", 0);
    for (int i = 1; i <= count; ++i) {
        TToolBarPlacement bar;
        bar.name = ini.ReadString(kToolBars, "Name" + QString::number(i), QString());
        if (bar.name.isEmpty())
            continue;
        bar.row = ini.ReadInteger(kToolBars, bar.name + ".Row", 0);
        bar.left = ini.ReadInteger(kToolBars, bar.name + ".Left", 0);
        bar.top = ini.ReadInteger(kToolBars, bar.name + ".Top", 0);
        bar.width = ini.ReadInteger(kToolBars, bar.name + ".Width", 0);
        bar.height = ini.ReadInteger(kToolBars, bar.name + ".Height", 0);
        bar.visible = ini.ReadBool(kToolBars, bar.name + ".Visible", true);
        a.bars << bar;
    }
    return a;
}

void WriteToolBars(TIniFile &ini, const TToolBarArrangement &a)
{
    ini.WriteInteger(kToolBars, "ToolBarCount", int(a.bars.size()));
    ini.WriteInteger(kToolBars, "RowCount", a.rowCount);
    for (int i = 0; i < a.bars.size(); ++i) {
        const TToolBarPlacement &bar = a.bars[i];
        ini.WriteString(kToolBars, "Name" + QString::number(i + 1), bar.name);
        ini.WriteInteger(kToolBars, bar.name + ".Row", bar.row);
        ini.WriteInteger(kToolBars, bar.name + ".Left", bar.left);
        ini.WriteInteger(kToolBars, bar.name + ".Top", bar.top);
        ini.WriteInteger(kToolBars, bar.name + ".Width", bar.width);
        ini.WriteInteger(kToolBars, bar.name + ".Height", bar.height);
        ini.WriteBool(kToolBars, bar.name + ".Visible", bar.visible);
    }
}

} // namespace Layout
