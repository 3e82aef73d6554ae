#pragma once

#include <QString>
#include <QtGlobal>

// The scope's number and time texts, always with "." as decimal point.

// Read-out of a time in milliseconds since the last clear:
// "999 [ms]", "1.500 [sec]", "1:01.234 [min]", "1:02:03 [h]".
QString ReadoutTimeText(qint64 t);

// Read-out of a channel value: at least one integer digit and up to three
// decimals, trailing zeros dropped ("12.5", "-0.125", "0"). A value whose
// text would not fit the 20 characters of a read-out box is shown with an
// exponent ("3.403e+38") instead of being cut.
QString ReadoutValueText(float value);

// A read-out text cut to the 20 characters a box shows.
QString CutReadoutText(const QString &text);

// A scale limit with two decimals ("-2.00"); the same text fills the
// channel setup's edits.
QString ScaleValueText(float value);
// The same limit with an exponent ("3.40e+38"), for a scale label too wide
// for its place.
QString ShortScaleValueText(float value);
