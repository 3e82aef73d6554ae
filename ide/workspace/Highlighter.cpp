#include "Highlighter.h"

#include "DesignFont.h"

#include <Qsci/qsciscintilla.h>

#include <QByteArray>

namespace {

struct TAttributeInfo {
    const char *name;
    QColor color;
    bool bold;
    bool italic;
};

const TAttributeInfo &Attribute(int style)
{
    static const TAttributeInfo table[TSynVelmo::AttributeCount] = {
        {"Comment", QColor(0x00, 0x80, 0x00), false, true},
        {"Identifier", Qt::black, false, false},
        {"Reserved Word", QColor(0x00, 0x00, 0xFF), true, false},
        {"Number", QColor(0xFF, 0x00, 0x00), false, false},
        {"Space", Qt::black, false, false},
        {"String", QColor(0xFF, 0x00, 0xFF), false, false},
        {"Symbol", Qt::black, false, false},
        {"Preprocessor", QColor(128, 128, 128), false, false},
    };
    return table[(style >= 0 && style < TSynVelmo::AttributeCount) ? style : TSynVelmo::SpaceAttri];
}

} // namespace

TSynVelmo::TSynVelmo(QObject *parent)
    : QsciLexerCustom(parent)
{
    m_tokenizer.SetComments(csBasStyle);
    m_tokenizer.SetDetectPreprocessor(true);
    m_tokenizer.SetStringDelim(TStringDelim::sdDoubleQuote);
    m_tokenizer.SetKeyWords(VelmoKeywords());
    setDefaultFont(BaseFont());
}

const char *TSynVelmo::language() const
{
    return "General";
}

QString TSynVelmo::description(int style) const
{
    if (style < 0 || style >= AttributeCount)
        return QString();
    return QString::fromLatin1(Attribute(style).name);
}

QColor TSynVelmo::defaultColor(int style) const
{
    return Attribute(style).color;
}

QFont TSynVelmo::BaseFont()
{
    QFont font = DesignFont(QStringLiteral("Courier New"));
    font.setPointSize(10);
    font.setStyleHint(QFont::TypeWriter);
    return font;
}

QFont TSynVelmo::defaultFont(int style) const
{
    QFont font = BaseFont();
    font.setBold(Attribute(style).bold);
    font.setItalic(Attribute(style).italic);
    return font;
}

const char *TSynVelmo::wordCharacters() const
{
    return ".0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ_abcdefghijklmnopqrstuvwxyz";
}

QString TSynVelmo::DefaultFilter()
{
    return QStringLiteral("Velmo (*.bas)|*.bas|All files (*.*)|*.*");
}

int TSynVelmo::AttributeOf(TTokenKind kind)
{
    switch (kind) {
    case TTokenKind::Comment:
        return CommentAttri;
    case TTokenKind::Identifier:
        return IdentifierAttri;
    case TTokenKind::Key:
        return KeyAttri;
    case TTokenKind::Number:
        return NumberAttri;
    case TTokenKind::Preprocessor:
        return PreprocessorAttri;
    case TTokenKind::Space:
        return SpaceAttri;
    case TTokenKind::String:
        return StringAttri;
    case TTokenKind::Symbol:
    case TTokenKind::Unknown:
        return SymbolAttri;
    case TTokenKind::Eol:
        break;
    }
    return -1;
}

void TSynVelmo::Changed()
{
    if (editor())
        editor()->recolor();
}

void TSynVelmo::SetComments(TCommentStyles styles)
{
    m_tokenizer.SetComments(styles);
    Changed();
}

void TSynVelmo::SetDetectPreprocessor(bool on)
{
    m_tokenizer.SetDetectPreprocessor(on);
    Changed();
}

void TSynVelmo::SetStringDelim(TStringDelim delim)
{
    m_tokenizer.SetStringDelim(delim);
    Changed();
}

void TSynVelmo::SetKeyWords(std::vector<std::string> words)
{
    m_tokenizer.SetKeyWords(std::move(words));
    Changed();
}

bool TSynVelmo::IsKeyword(const QString &word) const
{
    return m_tokenizer.IsKeyword(word.toLatin1().toStdString());
}

// The range a line starts in is the one the line before it ended in; the
// control keeps it per line as the line state.
TRangeState TSynVelmo::RangeBefore(int line) const
{
    if (line <= 0)
        return TRangeState::Normal;
    const long state = editor()->SendScintilla(QsciScintillaBase::SCI_GETLINESTATE, line - 1);
    return state == 0 ? TRangeState::Normal : static_cast<TRangeState>(state - 1);
}

TRangeState TSynVelmo::StyleLine(int line, TRangeState range)
{
    QsciScintilla *ed = editor();
    const long begin = ed->SendScintilla(QsciScintillaBase::SCI_POSITIONFROMLINE, line);
    const long end = ed->SendScintilla(QsciScintillaBase::SCI_POSITIONFROMLINE, line + 1);
    const long stop = end < 0 ? ed->SendScintilla(QsciScintillaBase::SCI_GETLENGTH) : end;
    QByteArray bytes(static_cast<int>(stop - begin) + 1, '\0');
    ed->SendScintilla(QsciScintillaBase::SCI_GETTEXTRANGE, begin, stop, bytes.data());
    bytes.chop(1);

    startStyling(static_cast<int>(begin));
    m_tokenizer.SetRange(range);
    m_tokenizer.SetLine(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())), line);
    int styled = 0;
    for (; !m_tokenizer.GetEol(); m_tokenizer.Next()) {
        const int length = static_cast<int>(m_tokenizer.GetToken().size());
        setStyling(length, AttributeOf(m_tokenizer.GetTokenKind()));
        styled += length;
    }
    if (styled < bytes.size())
        setStyling(static_cast<int>(bytes.size()) - styled, SpaceAttri);
    const TRangeState after = m_tokenizer.GetRange();
    ed->SendScintilla(QsciScintillaBase::SCI_SETLINESTATE, line, static_cast<long>(after) + 1);
    return after;
}

void TSynVelmo::styleText(int start, int end)
{
    QsciScintilla *ed = editor();
    if (!ed)
        return;
    const int lineCount = static_cast<int>(ed->SendScintilla(QsciScintillaBase::SCI_GETLINECOUNT));
    int line = static_cast<int>(ed->SendScintilla(QsciScintillaBase::SCI_LINEFROMPOSITION, start));
    const int last = static_cast<int>(ed->SendScintilla(QsciScintillaBase::SCI_LINEFROMPOSITION, end));
    TRangeState range = RangeBefore(line);
    for (; line < lineCount; ++line) {
        const TRangeState before = RangeBefore(line + 1);
        range = StyleLine(line, range);
        // Past the requested lines, go on only while a line hands a changed
        // range to the next one (a comment opened or closed).
        if (line >= last && range == before)
            break;
    }
}
