#pragma once

#include <QFont>
#include <QGlyphRun>
#include <QHash>
#include <QList>
#include <QRectF>

class QBrush;
class QPainter;

namespace kiv {

// One line of text drawn from glyphs laid out once per character and size. The time text changes every
// second but is made of a dozen characters, so laying each out once (font lookup with fallbacks, shaping)
// saves most of the cost of drawing it. Characters follow one another by their advances (no kerning between
// them) and the line is centred in a box as QPainter::drawText centres one.
class CharacterGlyphs
{
public:
    explicit CharacterGlyphs(const QString& family = QStringLiteral("Arial"));

    // Draws `text` centred in `box`; with `visible`, only the characters that reach it.
    void draw(QPainter& painter, const QString& text, const QRectF& box, const QBrush& brush, int pixelSize,
              const QRectF& visible = {});
    // The part of `band` (a box's full width) in which `before` and `after` look different when drawn centred
    // in it: from the first to the last character that differs, with room for glyphs that reach past their
    // advances; all of `band` when the characters that stay move.
    QRectF changedPart(const QString& before, const QString& after, const QRectF& band, int pixelSize);

private:
    struct Glyphs
    {
        QList<QGlyphRun> runs; // placed with the top of the character's line at (0, 0)
        qreal advance = 0;
        qreal ascent = 0;
        qreal descent = 0;
    };
    void useSize(int pixelSize);
    const Glyphs& glyphsOf(QChar character);
    // Where each character of `text` starts, and where the last ends, with the line centred on `centreX`.
    QList<qreal> characterEdges(const QString& text, qreal centreX);
    // How far past its advances a glyph may reach, with its soft edge.
    qreal reach() const { return 2 + m_font.pixelSize() / 6.0; }

    QFont m_font;
    QHash<char16_t, Glyphs> m_glyphs;
};

} // namespace kiv
