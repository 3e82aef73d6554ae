// TSynVelmo: the Velmo colouring of the source editor. The editor control
// binds a lexer to one editor, so every ".bas" editor owns one TSynVelmo; the
// keyword list and the token rules are those of TVelmoTokenizer.
#pragma once

#include "VelmoTokenizer.h"

#include <Qsci/qscilexercustom.h>

#include <QColor>
#include <QFont>
#include <QString>

class TSynVelmo : public QsciLexerCustom {
    Q_OBJECT

public:
    // The eight attributes, in the order they are registered; each is one
    // style number of the editor control.
    enum TAttribute {
        CommentAttri,
        IdentifierAttri,
        KeyAttri,
        NumberAttri,
        SpaceAttri,
        StringAttri,
        SymbolAttri,
        PreprocessorAttri,
        AttributeCount,
    };

    explicit TSynVelmo(QObject *parent = nullptr);

    const char *language() const override;
    QString description(int style) const override;
    QColor defaultColor(int style) const override;
    QFont defaultFont(int style) const override;
    const char *wordCharacters() const override;
    void styleText(int start, int end) override;

    static QString DefaultFilter();
    // The attribute a token kind is drawn with; -1 for the end of a line.
    static int AttributeOf(TTokenKind kind);
    static QFont BaseFont();

    // The highlighter's settings; changing one repaints the editor.
    TCommentStyles Comments() const
    {
        return m_tokenizer.Comments();
    }
    void SetComments(TCommentStyles styles);
    bool DetectPreprocessor() const
    {
        return m_tokenizer.DetectPreprocessor();
    }
    void SetDetectPreprocessor(bool on);
    TStringDelim StringDelim() const
    {
        return m_tokenizer.StringDelim();
    }
    void SetStringDelim(TStringDelim delim);
    void SetKeyWords(std::vector<std::string> words);
    bool IsKeyword(const QString &word) const;

private:
    TRangeState RangeBefore(int line) const;
    TRangeState StyleLine(int line, TRangeState range);
    void Changed();

    TVelmoTokenizer m_tokenizer;
};
