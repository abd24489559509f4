#include "clock/ClockIcon.h"

#include "clock/FaceRenderer.h"

#include <QIconEngine>
#include <QPainter>
#include <QPixmap>

namespace kiv {
namespace {

// The face `side` device pixels square, greyed for a disabled icon.
QImage iconImage(int side, QIcon::Mode mode)
{
    QImage image = clockIconImage(std::max(side, 1));
    if (mode == QIcon::Disabled) {
        for (int row = 0; row < image.height(); ++row) {
            auto* pixels = reinterpret_cast<QRgb*>(image.scanLine(row));
            for (int x = 0; x < image.width(); ++x) {
                const int grey = qGray(pixels[x]) / 2;
                const int alpha = qAlpha(pixels[x]) / 2;
                pixels[x] = qRgba(std::min(grey, alpha), std::min(grey, alpha), std::min(grey, alpha), alpha);
            }
        }
    }
    return image;
}

class ClockIconEngine final : public QIconEngine
{
public:
    // `size` is in device pixels: QIcon asks for the logical size times the screen's scale, and sets the
    // pixmap's pixel ratio itself.
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State) override
    {
        return QPixmap::fromImage(iconImage(std::min(size.width(), size.height()), mode));
    }
    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State) override
    {
        const int side = std::min(rect.width(), rect.height());
        if (side <= 0)
            return;
        const qreal scale = painter->device() ? painter->device()->devicePixelRatioF() : 1.0;
        QImage image = iconImage(qRound(side * scale), mode);
        image.setDevicePixelRatio(scale);
        painter->drawImage(QPoint(rect.x() + (rect.width() - side) / 2, rect.y() + (rect.height() - side) / 2), image);
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
