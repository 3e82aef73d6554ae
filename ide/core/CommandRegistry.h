#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

#include <functional>

// Binds the handler names of the command table (menus, popups, panel
// buttons) to the code that runs them. Each subsystem binds its own
// commands; the application checks at start-up that no name is left unbound.
class TCommandRegistry {
public:
    // A handler gets the component name of the item or button that ran it
    // (several buttons may share one handler).
    using THandler = std::function<void(const QString &sender)>;

    void Bind(const QString &name, THandler handler);
    void Bind(const QString &name, const std::function<void()> &handler);
    bool IsBound(const QString &name) const;
    // Runs the handler; false when the name is not bound.
    bool Run(const QString &name, const QString &sender = QString()) const;
    // Handler names of the command tables that nothing has bound.
    QStringList Unbound() const;

private:
    QHash<QString, THandler> m_handlers;
};

// Every handler name the command tables use, each once.
QStringList CommandHandlerNames();
