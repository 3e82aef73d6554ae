#include "LanguageReference.h"

#include "Commands.h"
#include "CompletionItems.h"
#include "Macros.h"
#include "MarkdownHtml.h"
#include "lang/ArgumentSyntax.h"
#include "lang/Builtins.h"
#include "lang/Keywords.h"
#include "lang/Target.h"

#include <QRegularExpression>

using namespace velmo::lang;

namespace {

// PLOT ... BARGRAPH: one token, a sub-code each.
const int kDisplayToken = KeywordToken(symPLOT);

const KeywordInfo *Keyword(const QString &name)
{
    return CKeywords::Instance().FindWord(name.toStdString());
}

QString Name(int symbol)
{
    const KeywordInfo *info = CKeywords::Instance().Info(symbol);
    return info ? QString::fromLatin1(info->name) : QString();
}

bool IsFamily(const KeywordInfo &k)
{
    return k.number >= 0 && k.token != kDisplayToken;
}

// PORT3 -> PORT
QString FamilyPrefix(const KeywordInfo &k)
{
    QString name = QString::fromLatin1(k.name);
    while (!name.isEmpty() && name.back().isDigit())
        name.chop(1);
    return name;
}

QList<const KeywordInfo *> FamilyMembers(const KeywordInfo &k)
{
    QList<const KeywordInfo *> members;
    for (int symbol = 0; symbol < symCount; ++symbol) {
        const KeywordInfo *info = CKeywords::Instance().Info(symbol);
        if (info && info->token == k.token && IsFamily(*info))
            members << info;
    }
    return members;
}

// "PORT0 … PORT9" for a family, the name for any other keyword.
QString ShownName(const KeywordInfo &k)
{
    if (!IsFamily(k))
        return QString::fromLatin1(k.name);
    const QList<const KeywordInfo *> members = FamilyMembers(k);
    return QString::fromLatin1(members.first()->name) + QStringLiteral(" … ") +
        QString::fromLatin1(members.last()->name);
}

// A row of the syntax table in words: "de[,e]" -> "[#device,] expression [, expression]".
QString RenderArguments(const char *syntax)
{
    QString out;
    auto gap = [&out] {
        if (!out.isEmpty() && !out.endsWith(u'[') && !out.endsWith(u' '))
            out += u' ';
    };
    for (const char *p = syntax; *p; ++p) {
        const char c = *p;
        if (c == '!')
            continue;
        if (c == ',') {
            out += u',';
        } else if (c == '[' || c == '{') {
            gap();
            out += u'[';
        } else if (c == ']') {
            out += u']';
        } else if (c == '}') {
            out += QStringLiteral("] ...");
        } else if (const char *name = ArgumentKindName(c)) {
            gap();
            out += QString::fromLatin1(name);
        }
    }
    return out;
}

QString SuffixText(Suffix suffix)
{
    if (suffix == Suffix::PortBit)
        return QStringLiteral(" [.bit]");
    const SuffixSet *set = FindSuffixSet(suffix);
    if (!set)
        return QString();
    QStringList members;
    for (TSYMBOL member : set->members) {
        if (!members.contains(Name(member)))
            members << Name(member);
    }
    return QStringLiteral(" [.") + members.join(QStringLiteral(" | .")) + u']';
}

QStringList SysVarSyntax(const KeywordInfo &k, const SysVar &sv)
{
    const QString name = IsFamily(k) ? FamilyPrefix(k) + u'n' : QString::fromLatin1(k.name);
    const QString use = name + SuffixText(sv.suffix);
    QStringList lines{use};
    if (sv.writable)
        lines << use + QStringLiteral(" = expression");
    return lines;
}

QString FunctionArguments(ArgShape shape)
{
    switch (shape) {
    case ArgShape::One:
        return QStringLiteral("(expression)");
    case ArgShape::Two:
        return QStringLiteral("(expression, expression)");
    case ArgShape::StringVar:
        return QStringLiteral("(string-variable)");
    case ArgShape::Val:
        return QStringLiteral("(string-variable [, expression])");
    case ArgShape::Pos:
        return QStringLiteral("(string-variable, \"text\" [, expression])");
    case ArgShape::Usr:
        break;
    }
    return QStringLiteral("(expression [, expression [, expression [, expression]]])");
}

// The syntax lines the compiler's tables give a keyword; none when it is
// compiled by a routine of its own.
QStringList GeneratedSyntax(const KeywordInfo &k)
{
    const QString name = QString::fromLatin1(k.name);
    if (const char *arguments = ArgumentSyntax(k.symbol)) {
        const QString rendered = RenderArguments(arguments);
        return {rendered.isEmpty() ? name : name + u' ' + rendered};
    }
    if (const SysVar *sv = FindSysVar(k.symbol))
        return SysVarSyntax(k, *sv);
    if (const BuiltinFunction *fn = FindFunction(k.symbol))
        return {name + FunctionArguments(fn->shape)};
    return {};
}

// The completion item that offers a keyword (for a family, its prefix).
const TCompletionItem *CompletionOf(const KeywordInfo &k)
{
    const QString word = IsFamily(k) ? FamilyPrefix(k) : QString::fromLatin1(k.name);
    for (const TCompletionItem &item : CompletionItems()) {
        if (word.compare(QLatin1String(item.insertText), Qt::CaseInsensitive) == 0)
            return &item;
    }
    return nullptr;
}

QString TokenDescription(const KeywordInfo &k)
{
    if (k.token < 0)
        return k.name[0] == '#' ? QStringLiteral("none: a directive, read by the preprocessor")
                                : QStringLiteral("none: not written into the image as a token");
    const QString code = QStringLiteral("$%1").arg(k.token, 2, 16, QLatin1Char('0')).toUpper();
    if (k.token == kDisplayToken)
        return code + QStringLiteral(" and the sub-code %1").arg(k.number);
    if (IsFamily(k))
        return code + QStringLiteral(" and the number's digit");
    return code;
}

QString TrimEnd(QString text)
{
    while (!text.isEmpty() && text.back() == u' ')
        text.chop(1);
    return text;
}

// A line in the fixed font; the blanks that indent it are kept.
QString Code(const QString &text)
{
    const qsizetype indent = text.size() - QString(text).remove(QRegularExpression(QStringLiteral("^ +"))).size();
    return QStringLiteral("<code>%1%2</code>")
        .arg(QStringLiteral("&nbsp;").repeated(indent), EscapeHtml(text.mid(indent)));
}

QString BoxRow(const QString &label, const QStringList &values)
{
    return QStringLiteral("<tr><td width=\"17%\" bgcolor=\"#dfe6ee\" class=\"label\">%1</td>"
                          "<td bgcolor=\"#f6f8fa\" class=\"value\">%2</td></tr>")
        .arg(label, values.join(QStringLiteral("<br/>")));
}

struct TEntryParts {
    QStringList headings;
    QStringList syntax;
    QStringList completion;
    QStringList tokens;
    QStringList names;
};

// Adds one keyword's parts; false with `error` set for a word that is no keyword.
bool AddKeyword(const QString &word, TEntryParts &parts, QStringList &generated, QString &error)
{
    const KeywordInfo *k = Keyword(word);
    if (!k) {
        error = QStringLiteral("'%1' is not a keyword of the compiler's table").arg(word);
        return false;
    }
    parts.headings << ShownName(*k);
    for (const QString &line : GeneratedSyntax(*k))
        parts.syntax << Code(line);
    if (!GeneratedSyntax(*k).isEmpty())
        generated << word;
    if (const TCompletionItem *item = CompletionOf(*k))
        parts.completion << Code(QString::fromLatin1(item->insertText) + TrimEnd(QString::fromLatin1(item->hint)));
    const QString shown = parts.headings.last();
    parts.tokens << (parts.headings.size() > 1 ? shown + QStringLiteral(": ") : QString()) + TokenDescription(*k);
    if (IsFamily(*k)) {
        QStringList names;
        for (const KeywordInfo *member : FamilyMembers(*k))
            names << QString::fromLatin1(member->name);
        parts.names << names.join(QStringLiteral(", "));
    }
    return true;
}

QString StripAccel(const char *caption)
{
    return QString::fromLatin1(caption).remove(u'&');
}

QString MenuPath(const TCommand &c)
{
    QString path;
    for (std::size_t m = 0; m < TopMenuCount; ++m) {
        if (TopMenus[m].id == c.menu)
            path = StripAccel(TopMenus[m].caption);
    }
    if (c.submenu && QLatin1String(c.submenu) != QLatin1String(c.caption))
        path += QStringLiteral(" > ") + StripAccel(c.submenu);
    return path + QStringLiteral(" > ") + StripAccel(c.caption);
}

QString KeysTable()
{
    QString md = QStringLiteral("| Key | Command | Toolbar button |\n|---|---|---|\n");
    for (std::size_t i = 0; i < CommandCount; ++i) {
        const TCommand &c = CommandTable[i];
        if (!c.caption || !c.shortcut || !c.handler)
            continue;
        const QString button = c.button ? QString::fromLatin1(c.buttonText) : QStringLiteral("—");
        md += QStringLiteral("| **%1** | %2 | %3 |\n").arg(QLatin1String(c.shortcut), MenuPath(c), button);
    }
    return md;
}

QString ToolbarTable()
{
    QString md = QStringLiteral("| Button | Tip | Command |\n|---|---|---|\n");
    for (std::size_t i = 0; i < CommandCount; ++i) {
        const TCommand &c = CommandTable[i];
        if (c.button && c.caption)
            md += QStringLiteral("| %1 | %2 | %3 |\n")
                      .arg(QLatin1String(c.buttonText), QLatin1String(c.hint), MenuPath(c));
    }
    return md;
}

QString OptionsTable()
{
    QString md = QStringLiteral("| Name | Value | Name | Value |\n|---|---|---|---|\n");
    const std::span<const OptionName> names = OptionNames();
    const std::size_t half = (names.size() + 1) / 2;
    for (std::size_t i = 0; i < half; ++i) {
        md += QStringLiteral("| `%1` | %2 |").arg(QLatin1String(names[i].name)).arg(names[i].value);
        if (i + half < names.size())
            md += QStringLiteral(" `%1` | %2 |").arg(QLatin1String(names[i + half].name)).arg(names[i + half].value);
        else
            md += QStringLiteral("  |  |");
        md += u'\n';
    }
    return md;
}

QString TargetsTable()
{
    QString md = QStringLiteral("| Module type | Data memory | Program memory | Variables | Array length | "
                                "FOR / WHILE / DO nesting |\n|---|---|---|---|---|---|\n");
    for (const NamedTarget &t : TargetProfiles()) {
        const TargetProfile &p = t.limits;
        md += QStringLiteral("| `%1` | %2 bytes | %3 bytes | %4 | %5 | %6 / %7 / %8 |\n")
                  .arg(QLatin1String(t.name))
                  .arg(p.dataMemory)
                  .arg(p.programMemory)
                  .arg(p.maxVariables)
                  .arg(p.maxArrayLength)
                  .arg(p.maxForNesting)
                  .arg(p.maxWhileNesting)
                  .arg(p.maxDoNesting);
    }
    return md;
}

QString KeywordsOfToken(int code)
{
    QStringList names;
    for (int symbol = 0; symbol < symCount; ++symbol) {
        const KeywordInfo *info = CKeywords::Instance().Info(symbol);
        if (!info || info->token != code)
            continue;
        const QString shown = ShownName(*info);
        if (!names.contains(shown))
            names << shown;
    }
    return names.isEmpty() ? QStringLiteral("— (never written)") : names.join(QStringLiteral(", "));
}

QString KeywordTable()
{
    QString md = QStringLiteral("| Code | Listing text | Keywords |\n|---|---|---|\n");
    for (int code = 0x80; code <= 0xFE; ++code) {
        const QString text = QString::fromLatin1(TokenText(code)).replace(u' ', QChar(0x2423));
        md += QStringLiteral("| $%1 | `%2` | %3 |\n")
                  .arg(QString::number(code, 16).toUpper(), text, KeywordsOfToken(code));
    }
    return md;
}

} // namespace

QString EntryMarkdown(const TManualEntry &entry, QString &error)
{
    TEntryParts parts;
    QStringList generated;
    for (const QString &word : entry.keywords) {
        if (!AddKeyword(word, parts, generated, error))
            return QString();
    }
    if (!entry.syntax.isEmpty() && !generated.isEmpty()) {
        error = QStringLiteral("the syntax of %1 is printed from the compiler's tables; remove the syntax block")
                    .arg(generated.join(QStringLiteral(", ")));
        return QString();
    }
    if (entry.syntax.isEmpty() && generated.isEmpty()) {
        error = QStringLiteral("%1 needs a syntax block: the compiler's tables hold none")
                    .arg(entry.keywords.join(QStringLiteral(", ")));
        return QString();
    }
    for (const QString &line : entry.syntax)
        parts.syntax << Code(line);
    QString html = QStringLiteral("<table width=\"100%\" border=\"1\" cellspacing=\"0\" cellpadding=\"3\" "
                                  "class=\"syntax\">");
    html += BoxRow(QStringLiteral("Syntax"), parts.syntax);
    if (!parts.names.isEmpty())
        html += BoxRow(QStringLiteral("Names"), parts.names);
    if (!parts.completion.isEmpty())
        html += BoxRow(QStringLiteral("Completion"), parts.completion);
    html += BoxRow(QStringLiteral("Token"), parts.tokens);
    html += QStringLiteral("</table>");
    return QStringLiteral("### %1\n\n%2\n\n").arg(parts.headings.join(QStringLiteral(", ")), html);
}

bool GeneratedTable(const QString &name, QString &markdown)
{
    using Builder = QString (*)();
    static const QList<QPair<QString, Builder>> kTables = {
        {QStringLiteral("keywords"), KeywordTable}, {QStringLiteral("options"), OptionsTable},
        {QStringLiteral("targets"), TargetsTable},  {QStringLiteral("keys"), KeysTable},
        {QStringLiteral("toolbar"), ToolbarTable},
    };
    for (const auto &[tableName, builder] : kTables) {
        if (tableName == name) {
            markdown = builder();
            return true;
        }
    }
    return false;
}

QStringList CompilerKeywords()
{
    QStringList names;
    for (int symbol = 0; symbol < symCount; ++symbol) {
        if (const KeywordInfo *info = CKeywords::Instance().Info(symbol))
            names << QString::fromLatin1(info->name);
    }
    return names;
}

QStringList KeywordsWithoutEntry(const QList<QStringList> &entries)
{
    QStringList described;
    for (const QStringList &entry : entries) {
        for (const QString &word : entry) {
            const KeywordInfo *k = Keyword(word);
            if (k && IsFamily(*k)) {
                for (const KeywordInfo *member : FamilyMembers(*k))
                    described << QString::fromLatin1(member->name);
            } else if (k) {
                described << QString::fromLatin1(k->name);
            }
        }
    }
    QStringList missing;
    for (const QString &keyword : CompilerKeywords()) {
        if (!described.contains(keyword))
            missing << keyword;
    }
    return missing;
}

QString TableSyntax(const QString &keyword)
{
    const KeywordInfo *k = Keyword(keyword);
    const char *arguments = k ? ArgumentSyntax(k->symbol) : nullptr;
    if (!arguments)
        return QString();
    const QString rendered = RenderArguments(arguments);
    return rendered.isEmpty() ? keyword : keyword + u' ' + rendered;
}
