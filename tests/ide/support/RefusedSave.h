#pragma once

// A save into a place that cannot take the file, checked where it can run in
// a child process (see ChildCheck.h): empty when the save failed with the
// message that names the file, else what happened instead.

#include "Errors.h"

#include <QString>

#include <functional>
#include <string>

inline std::string SaveRefused(const QString &name, const std::function<void()> &save)
{
    try {
        save();
    } catch (const EKorvidError &e) {
        if (e.Message().startsWith("Cannot create file \"" + name + "\"."))
            return {};
        return e.Message().toStdString();
    }
    return "saved " + name.toStdString();
}
