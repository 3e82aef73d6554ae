#include "SmallFirstIcon.h"

#include <QGuiApplication>
#include <QIconEngine>
#include <QPainter>

#include <algorithm>
#include <memory>
#include <optional>
#include <utility>

namespace {

struct TIcons {
    QIcon small;
    int smallSize = 0;
    std::function<QIcon()> makeFull;
    std::optional<QIcon> full;

    const QIcon &Full()
    {
        if (!full)
            full = makeFull();
        return *full;
    }
    // The icon that answers for pictures of size device pixels.
    const QIcon &For(const QSize &size)
    {
        const bool small = size.width() <= smallSize && size.height() <= smallSize && qApp->devicePixelRatio() == 1.0;
        return small ? this->small : Full();
    }
};

class TSmallFirstIconEngine : public QIconEngine {
public:
    explicit TSmallFirstIconEngine(std::shared_ptr<TIcons> icons)
        : m_icons(std::move(icons))
    {
    }

    void paint(QPainter *painter, const QRect &rect, QIcon::Mode mode, QIcon::State state) override
    {
        const qreal ratio = painter->device() ? painter->device()->devicePixelRatio() : qApp->devicePixelRatio();
        m_icons->For(rect.size() * ratio).paint(painter, rect, Qt::AlignCenter, mode, state);
    }
    QPixmap pixmap(const QSize &size, QIcon::Mode mode, QIcon::State state) override
    {
        return m_icons->For(size).pixmap(size, 1.0, mode, state);
    }
    QSize actualSize(const QSize &size, QIcon::Mode mode, QIcon::State state) override
    {
        return m_icons->For(size).actualSize(size, mode, state);
    }
    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override
    {
        return m_icons->Full().availableSizes(mode, state);
    }
    QIconEngine *clone() const override
    {
        return new TSmallFirstIconEngine(m_icons);
    }
    QString key() const override
    {
        return QStringLiteral("SmallFirstIconEngine");
    }

private:
    std::shared_ptr<TIcons> m_icons;
};

} // namespace

QIcon SmallFirstIcon(const QList<TIconFile> &smallFiles, std::function<QIcon()> full)
{
    auto icons = std::make_shared<TIcons>();
    for (const TIconFile &file : smallFiles) {
        icons->small.addFile(file.fileName, QSize(file.size, file.size), QIcon::Normal, file.state);
        icons->smallSize = std::max(icons->smallSize, file.size);
    }
    icons->makeFull = std::move(full);
    return QIcon(new TSmallFirstIconEngine(std::move(icons)));
}
