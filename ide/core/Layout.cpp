#include "Layout.h"

#include <algorithm>

namespace Layout {

namespace {

const QString kMainForm = QStringLiteral("MainForm");
const QString kPanel = QStringLiteral("WorkDirPanel");
const QString kToolBars = QStringLiteral("ToolBars");

std::optional<int> ReadOptional(const TIniFile &ini, const QString &section, const QString &key)
{
    int value = 0;
    if (TIniFile::ParseInteger(ini.ReadString(section, key, QString()), value))
        return std::clamp(value, -kMaxCoordinate, kMaxCoordinate);
    return std::nullopt;
}

int ReadCoordinate(const TIniFile &ini, const QString &section, const QString &key)
{
    return std::clamp(ini.ReadInteger(section, key, 0), -kMaxCoordinate, kMaxCoordinate);
}

int ReadCount(const TIniFile &ini, const QString &key)
{
    return std::clamp(ini.ReadInteger(kToolBars, key, 0), 0, kMaxToolBars);
}

qint64 Area(const QRect &rect)
{
    return rect.isEmpty() ? 0 : qint64(rect.width()) * rect.height();
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
    const int count = ReadCount(ini, "ToolBarCount");
    if (count <= 0)
        return a;
    a.rowCount = ReadCount(ini, "RowCount");
    for (int i = 1; i <= count; ++i) {
        TToolBarPlacement bar;
        bar.name = ini.ReadString(kToolBars, "Name" + QString::number(i), QString());
        if (bar.name.isEmpty())
            continue;
        bar.row = ReadCount(ini, bar.name + ".Row");
        bar.left = ReadCoordinate(ini, kToolBars, bar.name + ".Left");
        bar.top = ReadCoordinate(ini, kToolBars, bar.name + ".Top");
        bar.width = ReadCoordinate(ini, kToolBars, bar.name + ".Width");
        bar.height = ReadCoordinate(ini, kToolBars, bar.name + ".Height");
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

std::optional<QRect> FitWindow(const QRect &stored, const QList<QRect> &screens, int minSize)
{
    if (stored.width() < minSize || stored.height() < minSize)
        return std::nullopt;
    const QRect *best = nullptr;
    for (const QRect &screen : screens)
        if (Area(screen.intersected(stored)) > (best ? Area(best->intersected(stored)) : 0))
            best = &screen;
    if (!best)
        return std::nullopt;
    return QRect(stored.topLeft(), stored.size().boundedTo(best->size()));
}

std::optional<int> FitPanelWidth(std::optional<int> stored, int minimum, int windowWidth, int editorMinimum)
{
    if (!stored || *stored < minimum)
        return std::nullopt;
    return std::min(*stored, std::max(minimum, windowWidth - editorMinimum));
}

} // namespace Layout
