#include "clock/CharacterGlyphs.h"

#include <QPainter>
#include <QTextLayout>

#include <algorithm>

namespace kiv {

CharacterGlyphs::CharacterGlyphs(const QString& family)
    : m_font(family)
{
}

void CharacterGlyphs::useSize(int pixelSize)
{
    if (m_font.pixelSize() == pixelSize)
        return;
    m_font.setPixelSize(pixelSize);
    m_glyphs.clear();
}

const CharacterGlyphs::Glyphs& CharacterGlyphs::glyphsOf(QChar character)
{
    auto found = m_glyphs.constFind(character.unicode());
    if (found != m_glyphs.cend())
        return *found;
    QTextLayout layout(QString(character), m_font);
    layout.beginLayout();
    QTextLine line = layout.createLine();
    layout.endLayout();
    Glyphs glyphs;
    if (line.isValid()) {
        line.setPosition(QPointF(0, 0));
        glyphs.runs = layout.glyphRuns();
        glyphs.advance = line.horizontalAdvance();
        glyphs.ascent = line.ascent();
        glyphs.descent = line.descent();
    }
    return *m_glyphs.insert(character.unicode(), glyphs);
}

QList<qreal> CharacterGlyphs::characterEdges(const QString& text, qreal centreX)
{
    QList<qreal> edges;
    edges.reserve(text.size() + 1);
    qreal x = 0;
    for (const QChar character : text) {
        edges.append(x);
        x += glyphsOf(character).advance;
    }
    edges.append(x);
    const qreal left = centreX - x / 2;
    for (qreal& edge : edges)
        edge += left;
    return edges;
}

void CharacterGlyphs::draw(QPainter& painter, const QString& text, const QRectF& box, const QBrush& brush,
                           int pixelSize, const QRectF& visible)
{
    useSize(pixelSize);
    const QList<qreal> edges = characterEdges(text, box.center().x());
    qreal ascent = 0;
    qreal descent = 0;
    for (const QChar character : text) {
        const Glyphs& glyphs = glyphsOf(character);
        ascent = std::max(ascent, glyphs.ascent);
        descent = std::max(descent, glyphs.descent);
    }
    const qreal baseline = box.center().y() - (ascent + descent) / 2 + ascent;
    painter.setPen(QPen(brush, 1));
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (!visible.isNull() && (edges[i + 1] + reach() < visible.left() || edges[i] - reach() > visible.right()))
            continue;
        const Glyphs& glyphs = glyphsOf(text[i]);
        for (const QGlyphRun& run : glyphs.runs)
            painter.drawGlyphRun(QPointF(edges[i], baseline - glyphs.ascent), run);
    }
}

QRectF CharacterGlyphs::changedPart(const QString& before, const QString& after, const QRectF& band, int pixelSize)
{
    useSize(pixelSize);
    const qreal centreX = band.center().x();
    const QList<qreal> edges = characterEdges(after, centreX);
    if (before.size() != after.size() || characterEdges(before, centreX) != edges)
        return band;
    qsizetype first = 0;
    while (first < after.size() && before[first] == after[first])
        ++first;
    if (first == after.size())
        return {};
    qsizetype last = after.size() - 1;
    while (before[last] == after[last])
        --last;
    const qreal left = std::max(band.left(), edges[first] - reach());
    const qreal right = std::min(band.right(), edges[last + 1] + reach());
    return QRectF(left, band.top(), right - left, band.height());
}

} // namespace kiv
