#include "widgets/tabstrip/TabStripModel.h"

#include <algorithm>
#include <cmath>

namespace kiv {
namespace {

constexpr int kCloseBoxInset = 4;
constexpr int kPropertyPagePadding = 12;

int clampChannel(int value)
{
    return std::clamp(value, 0, 255);
}

} // namespace

OleColor shiftColor(OleColor rgb, int amount)
{
    const int r = clampChannel(int(rgb & 0xFF) + amount);
    const int g = clampChannel(int((rgb >> 8) & 0xFF) + amount);
    const int b = clampChannel(int((rgb >> 16) & 0xFF) + amount);
    return OleColor(r) | (OleColor(g) << 8) | (OleColor(b) << 16);
}

void ResetColorsToDefault(TabColors& c, int theme, OleColor container, OleColor activeCaptionRgb)
{
    switch (theme) {
    case 1:
        c.ActiveTabBackStartColor = c.ActiveTabBackEndColor = 0x00FBFDFB;
        c.ActiveTabForeColor = ButtonTextColor;
        c.InActiveTabBackStartColor = 0x00FFFFFF;
        c.InActiveTabBackEndColor = 0x00EAF0F0;
        c.InActiveTabForeColor = ButtonTextColor;
        c.TabStripBackColor = container;
        c.DisabledTabBackColor = ButtonFaceColor;
        c.DisabledTabForeColor = 0x00A0A0A0;
        c.OuterBorderColor = 0x009B9C91;
        c.HoverColor = 0x003BC7FF;
        c.FocusedColor = 0x00EE8269;
        break;
    case 2:
        c.ActiveTabBackStartColor = c.ActiveTabBackEndColor = ButtonFaceColor;
        c.ActiveTabForeColor = ButtonTextColor;
        c.InActiveTabBackStartColor = c.InActiveTabBackEndColor = LightColor3D;
        c.InActiveTabForeColor = GrayTextColor;
        c.TabStripBackColor = LightColor3D;
        c.DisabledTabBackColor = ButtonFaceColor;
        c.DisabledTabForeColor = DarkShadowColor3D;
        c.OuterBorderColor = HighlightColor3D;
        break;
    case 3:
        // The end colours stay as they were: theme 3 draws flat tabs from the start colours.
        c.ActiveTabBackStartColor = 0x00F8F8F8;
        c.ActiveTabForeColor = 0x00A76D50;
        c.InActiveTabBackStartColor = 0x00E5E5E5;
        // Darker than the grey of old (0x909090, 2.5:1 on its tab), so that the caption reads at 4.5:1.
        c.InActiveTabForeColor = 0x00646464;
        c.TabStripBackColor = ButtonFaceColor;
        c.DisabledTabBackColor = ButtonFaceColor;
        c.DisabledTabForeColor = DarkShadowColor3D;
        c.OuterBorderColor = 0x00909090;
        break;
    case 4:
        c.ActiveTabBackStartColor = 0x00E7F8FB;
        c.ActiveTabBackEndColor = 0x00DCEDF0;
        c.ActiveTabForeColor = ButtonTextColor;
        c.InActiveTabBackStartColor = 0x00DCEDF0;
        c.InActiveTabBackEndColor = 0x00CBDCDF;
        c.InActiveTabForeColor = ButtonTextColor;
        c.TabStripBackColor = container;
        c.DisabledTabBackColor = ButtonFaceColor;
        c.DisabledTabForeColor = 0x00A0A0A0;
        c.OuterBorderColor = 0x00A8B9BC;
        c.TopLeftInnerBorderColor = HighlightColor3D;
        c.HoverColor = shiftColor(activeCaptionRgb, 16);
        c.FocusedColor = shiftColor(activeCaptionRgb, -16);
        c.PictureSize = 0;
        c.UseFocusedColor = true;
        c.UseMaskColor = true;
        c.UseThemeDetection = false;
        break;
    default:
        c.ActiveTabBackStartColor = c.ActiveTabBackEndColor = ButtonFaceColor;
        c.ActiveTabForeColor = ButtonTextColor;
        c.InActiveTabBackStartColor = c.InActiveTabBackEndColor = ButtonFaceColor;
        c.InActiveTabForeColor = ButtonTextColor;
        c.TabStripBackColor = container;
        c.DisabledTabBackColor = ButtonFaceColor;
        c.DisabledTabForeColor = DarkShadowColor3D;
        c.OuterBorderColor = DarkShadowColor3D;
        c.TopLeftInnerBorderColor = HighlightColor3D;
        break;
    }
}

int accessKeyOf(QStringView caption)
{
    int key = 0;
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption[i] != u'&')
            continue;
        if (i + 1 < caption.size() && caption[i + 1] == u'&') {
            ++i; // a literal ampersand
            continue;
        }
        key = i + 1 < caption.size() ? caption[i + 1].toUpper().unicode() : 0;
    }
    return key;
}

QString visibleCaption(QStringView caption, qsizetype* keyPosition)
{
    QString text;
    qsizetype key = -1;
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption[i] == u'&' && i + 1 < caption.size()) {
            if (caption[i + 1] != u'&')
                key = text.size();
            ++i;
        }
        text.append(caption[i]);
    }
    if (keyPosition)
        *keyPosition = key;
    return text;
}

TabStripModel::TabStripModel(int count)
{
    setCount(count);
}

void TabStripModel::setCount(int count)
{
    count = std::max(count, 1);
    while (m_tabs.size() > count)
        m_tabs.removeLast();
    while (m_tabs.size() < count) {
        TabRecord record;
        record.caption = QStringLiteral("Tab ") + QString::number(m_tabs.size());
        m_tabs.append(record);
    }
}

void TabStripModel::setCaption(int index, const QString& caption)
{
    m_tabs[index].caption = caption;
    m_tabs[index].accessKey = accessKeyOf(caption);
}

int TabStripModel::arrowTarget(int active, bool forward) const
{
    const int last = count() - 1;
    int target = -1;
    if (forward)
        target = active == last ? 0 : active + 1;
    else if (active == 0)
        target = count() > 1 ? last : -1;
    else
        target = active - 1;
    return target >= 0 && target != active && m_tabs[target].enabled ? target : -1;
}

int TabStripModel::wheelTarget(int active, int delta) const
{
    if (delta < 0)
        return normalized(active + 1);
    return active > 0 ? active - 1 : -1;
}

int TabStripModel::accessKeyTarget(int active, int keyAscii) const
{
    if (keyAscii >= 'a' && keyAscii <= 'z')
        keyAscii -= 'a' - 'A';
    for (int i = 0; i < count(); ++i) {
        if (m_tabs[i].accessKey == keyAscii && i != active && m_tabs[i].enabled)
            return i;
    }
    return -1;
}

int TabStripModel::tabAt(QPoint point, int rowHeight) const
{
    if (point.y() >= rowHeight)
        return -1;
    for (int i = 0; i < count(); ++i) {
        if (m_tabs[i].rect.contains(point) && m_tabs[i].enabled)
            return i;
    }
    return -1;
}

int TabStripModel::closeBoxAt(QPoint point) const
{
    for (int i = 0; i < count(); ++i) {
        if (m_tabs[i].closeBoxRect.contains(point))
            return i;
    }
    return -1;
}

int TabStripModel::insertTab(int afterIndex, const QString& caption)
{
    const int index = std::clamp(afterIndex + 1, 0, count());
    TabRecord record;
    record.caption = caption;
    record.accessKey = accessKeyOf(caption);
    m_tabs.insert(index, record);
    return index;
}

bool TabStripModel::removeTab(int index)
{
    if (count() <= 1 || index < 0 || index >= count())
        return false;
    m_tabs.removeAt(index);
    return true;
}

void TabStripModel::layoutTabbedDialog(int innerWidth, int active, int activeHeight, int inactiveHeight)
{
    const int rowHeight = std::max(activeHeight, inactiveHeight);
    const int width = int(std::nearbyint(double(innerWidth) / count()));
    for (int i = 0; i < count(); ++i) {
        const int left = width * i;
        const int right = i == count() - 1 ? innerWidth - 1 : left + width;
        const int height = i == active ? activeHeight : inactiveHeight;
        const int top = rowHeight - height;
        TabRecord& tab = m_tabs[i];
        tab.rect = QRect(QPoint(left, top), QPoint(right - 1, rowHeight - 1));
        tab.closeBoxRect = QRect(QPoint(right - 14, top + 5), QPoint(right - kCloseBoxInset - 1, top + 14));
    }
}

void TabStripModel::layoutPropertyPages(int active, int activeHeight, int inactiveHeight,
                                        const std::function<int(int)>& captionWidth)
{
    const int rowHeight = std::max(activeHeight, inactiveHeight);
    int left = 2;
    for (int i = 0; i < count(); ++i) {
        const int width = captionWidth(i) + 2 * kPropertyPagePadding;
        const int height = i == active ? activeHeight : inactiveHeight;
        const int top = rowHeight - height;
        // The active tab stands out by two pixels on either side, like a property sheet's.
        const int grow = i == active ? 2 : 0;
        TabRecord& tab = m_tabs[i];
        tab.rect = QRect(left - grow, top, width + 2 * grow, height);
        const int right = tab.rect.left() + tab.rect.width();
        tab.closeBoxRect = QRect(QPoint(right - 14, top + 5), QPoint(right - kCloseBoxInset - 1, top + 14));
        left += width;
    }
}

QString fileDialogFilter(QStringView filter)
{
    const QList<QStringView> parts = filter.split(u'|');
    QStringList pairs;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2)
        pairs.append(parts[i].toString() + QStringLiteral(" (") + parts[i + 1].toString().replace(u';', u' ') + u')');
    return pairs.join(QStringLiteral(";;"));
}

int pageShiftUnit(int width)
{
    return width >= 10000 ? width + 1000 : 10000;
}

} // namespace kiv
