// Writes the program's icon, the clock face drawn by the program itself: a PNG file of SIZE pixels, or a
// scalable SVG file of SIZE units when OUTPUT ends in ".svg".
#include "clock/FaceRenderer.h"

#include <QGuiApplication>
#include <QPainter>
#include <QSvgGenerator>

#include <cstdio>

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s SIZE OUTPUT.png|OUTPUT.svg\n", argv[0]);
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    int qtArgc = 1;
    QGuiApplication application(qtArgc, argv);
    const int size = QByteArray(argv[1]).toInt();
    const QString output = QString::fromLocal8Bit(argv[2]);
    if (!output.endsWith(QStringLiteral(".svg")))
        return kiv::clockIconImage(size).save(output) ? 0 : 1;
    QSvgGenerator svg;
    svg.setFileName(output);
    svg.setSize(QSize(size, size));
    svg.setViewBox(QRect(0, 0, size, size));
    svg.setTitle(QStringLiteral("Kiv Clock"));
    QPainter painter;
    if (!painter.begin(&svg))
        return 1;
    kiv::drawClockIcon(painter, size);
    return painter.end() ? 0 : 1;
}
