#include "Escapes.h"

namespace {

constexpr int kMaxEscapeDigits = 3;
constexpr int kMaxDelayDigits = 5;
const QByteArray kDelayMark("\x1bT");

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

} // namespace

QByteArray DecodeEscapes(const QString &Text)
{
    const QByteArray bytes = Text.toLatin1();
    QByteArray out;
    out.reserve(bytes.size());
    bool escape = false;
    int digits = 0;
    quint8 value = 0;
    for (const char c : bytes) {
        if (escape && IsDigit(c) && digits < kMaxEscapeDigits) {
            value = quint8(value * 10 + (c - '0'));
            ++digits;
            continue;
        }
        if (escape) {
            out.append(char(value));
            escape = false;
        }
        if (c == '#') {
            escape = true;
            digits = 0;
            value = 0;
        } else {
            out.append(c);
        }
    }
    if (escape)
        out.append(char(value));
    return out;
}

QList<TMacroStep> SplitMacro(QByteArray decoded)
{
    QList<TMacroStep> steps;
    while (!decoded.isEmpty()) {
        const qsizetype mark = decoded.indexOf(kDelayMark);
        if (mark < 0) {
            steps.append({decoded, 0});
            break;
        }
        TMacroStep step{decoded.left(mark), 0};
        qsizetype at = mark + kDelayMark.size();
        for (int n = 0; n < kMaxDelayDigits && at < decoded.size() && IsDigit(decoded[at]); ++n, ++at)
            step.delayMs = step.delayMs * 10 + (decoded[at] - '0');
        decoded.remove(0, at);
        steps.append(step);
    }
    return steps;
}
