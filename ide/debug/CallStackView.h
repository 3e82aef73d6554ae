#pragma once

#include "DebugSession.h"

#include <QTreeWidget>

#include <functional>

// The GOSUB frames of a stopped program, innermost first, each with its
// source file and line; a double-click opens the line.
class TCallStackView : public QTreeWidget {
    Q_OBJECT
public:
    explicit TCallStackView(QWidget *parent = nullptr);

    void SetFrames(const QList<TDebugSession::TFrame> &frames);

    std::function<void(const QString &file, int line)> OpenLine;
};
