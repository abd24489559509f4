// Writes the program's icon, the clock face drawn by the program itself, as a PNG file.
#include "clock/FaceRenderer.h"

#include <QGuiApplication>

#include <cstdio>

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s SIZE OUTPUT.png\n", argv[0]);
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    int qtArgc = 1;
    QGuiApplication application(qtArgc, argv);
    return kiv::clockIconImage(QByteArray(argv[1]).toInt()).save(QString::fromLocal8Bit(argv[2])) ? 0 : 1;
}
