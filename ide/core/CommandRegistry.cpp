#include "CommandRegistry.h"

#include "Commands.h"

void TCommandRegistry::Bind(const QString &name, THandler handler)
{
    m_handlers.insert(name, std::move(handler));
}

void TCommandRegistry::Bind(const QString &name, const std::function<void()> &handler)
{
    m_handlers.insert(name, [handler](const QString &) { handler(); });
}

bool TCommandRegistry::IsBound(const QString &name) const
{
    return m_handlers.contains(name);
}

bool TCommandRegistry::Run(const QString &name, const QString &sender) const
{
    const auto it = m_handlers.constFind(name);
    if (it == m_handlers.constEnd())
        return false;
    it.value()(sender);
    return true;
}

QStringList TCommandRegistry::Unbound() const
{
    QStringList names;
    for (const QString &name : CommandHandlerNames())
        if (!IsBound(name))
            names.append(name);
    return names;
}

QStringList CommandHandlerNames()
{
    QStringList names;
    const auto add = [&names](const char *handler) {
        if (handler && !names.contains(QLatin1String(handler)))
            names.append(QString::fromLatin1(handler));
    };
    for (std::size_t i = 0; i < CommandCount; ++i)
        add(CommandTable[i].handler);
    for (std::size_t i = 0; i < PopupItemCount; ++i)
        add(PopupTable[i].handler);
    for (std::size_t i = 0; i < PanelButtonCount; ++i)
        add(PanelButtons[i].handler);
    return names;
}
