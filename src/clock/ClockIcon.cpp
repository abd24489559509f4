#include "clock/ClockIcon.h"

#include "clock/FaceRenderer.h"

#include <QIconEngine>
#include <QPainter>
#include <QPixmap>

namespace kiv {
namespace {

class ClockIconEngine final : public QIconEngine
{
public:
    QPixmap pixmap(const QSize& size, QIcon::Mode, QIcon::State) override
    {
        return QPixmap::fromImage(clockIconImage(std::min(size.width(), size.height())));
    }
    void paint(QPainter* painter, const QRect& rect, QIcon::Mode, QIcon::State) override
    {
        const int side = std::min(rect.width(), rect.height());
        painter->drawImage(QPoint(rect.x() + (rect.width() - side) / 2, rect.y() + (rect.height() - side) / 2),
                           clockIconImage(side));
    }
    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override
    {
        return {{16, 16}, {32, 32}, {48, 48}, {64, 64}, {128, 128}};
    }
    QIconEngine* clone() const override { return new ClockIconEngine; }
    QString key() const override { return QStringLiteral("KivClockIcon"); }
};

} // namespace

QIcon clockIcon()
{
    return QIcon(new ClockIconEngine);
}

} // namespace kiv
