#include "core/ColorConversions.h"

#include <QTest>

using namespace kiv;

class TestColorConversions final : public QObject
{
    Q_OBJECT

private slots:
    void conversions_data();
    void conversions();
};

void TestColorConversions::conversions_data()
{
    QTest::addColumn<quint32>("argb");
    QTest::addColumn<quint32>("colorref");
    QTest::addColumn<int>("alpha");
    QTest::newRow("default hour colour") << 0xFFDB5C1Cu << 0x001C5CDBu << 0xFF;
    QTest::newRow("translucent colour keeps its alpha apart") << 0x7700B0E4u << 0x00E4B000u << 0x77;
    QTest::newRow("scale colour") << 0x77777777u << 0x00777777u << 0x77;
    QTest::newRow("transparent white") << 0x00FFFFFFu << 0x00FFFFFFu << 0x00;
    QTest::newRow("pure red") << 0xFFFF0000u << 0x000000FFu << 0xFF;
    QTest::newRow("pure blue") << 0x800000FFu << 0x00FF0000u << 0x80;
}

void TestColorConversions::conversions()
{
    QFETCH(quint32, argb);
    QFETCH(quint32, colorref);
    QFETCH(int, alpha);
    QCOMPARE(quint32(ColorTransfer(qint32(argb))), colorref);
    QCOMPARE(int(GetAlphaByte(qint32(argb))), alpha);
    QCOMPARE(quint32(RGBToARGB(qint32(colorref), quint8(alpha))), argb);
    // A COLORREF whose top byte is set still converts by its three colour bytes.
    QCOMPARE(quint32(RGBToARGB(qint32(colorref | 0x5A000000u), quint8(alpha))), argb);
}

QTEST_GUILESS_MAIN(TestColorConversions)
#include "tst_colorconversions.moc"
