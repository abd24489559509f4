#pragma once

#include <QList>
#include <QRect>
#include <QString>

#include <functional>

namespace kiv {

// Colours of the tab strip are OLE colours: 0x00BBGGRR, or a system colour with the top bit set
// (0x8000000F is the button face).
using OleColor = quint32;
constexpr OleColor SystemColorBit = 0x80000000u;
constexpr OleColor ActiveCaptionColor = 0x80000003u;
constexpr OleColor ButtonFaceColor = 0x8000000Fu;
constexpr OleColor ButtonShadowColor = 0x80000010u;
constexpr OleColor GrayTextColor = 0x80000011u;
constexpr OleColor ButtonTextColor = 0x80000012u;
constexpr OleColor HighlightColor3D = 0x80000014u;
constexpr OleColor DarkShadowColor3D = 0x80000015u;
constexpr OleColor LightColor3D = 0x80000016u;

// Adds `amount` to each of red, green and blue of an 0x00BBGGRR colour, clamping each to 0..255.
OleColor shiftColor(OleColor rgb, int amount);

// The colour properties that a theme installs, and the settings theme 4 sets with them.
struct TabColors
{
    OleColor ActiveTabBackStartColor = ButtonFaceColor;
    OleColor ActiveTabBackEndColor = ButtonFaceColor;
    OleColor ActiveTabForeColor = ButtonTextColor;
    OleColor InActiveTabBackStartColor = ButtonFaceColor;
    OleColor InActiveTabBackEndColor = ButtonFaceColor;
    OleColor InActiveTabForeColor = ButtonTextColor;
    OleColor TabStripBackColor = ButtonFaceColor;
    OleColor DisabledTabBackColor = ButtonShadowColor;
    OleColor DisabledTabForeColor = HighlightColor3D;
    OleColor OuterBorderColor = DarkShadowColor3D;
    OleColor TopLeftInnerBorderColor = HighlightColor3D;
    OleColor BottomRightInnerBorderColor = ButtonShadowColor;
    OleColor HoverColor = 0x003BC7FF;
    OleColor FocusedColor = 0x00EE8269;
    int PictureSize = 0;
    bool UseFocusedColor = true;
    bool UseMaskColor = true;
    bool UseThemeDetection = false;

    bool operator==(const TabColors&) const = default;
};

// Installs the colours of `theme` (0..4). `container` is the container's back colour and
// `activeCaptionRgb` the active caption colour as 0x00BBGGRR (theme 4 derives its hover and focus colours
// from it). Colours a theme leaves unchanged keep their values.
void ResetColorsToDefault(TabColors& colors, int theme, OleColor container, OleColor activeCaptionRgb);

// One tab: its caption with access-key ampersands, its state, and where the drawing put it.
struct TabRecord
{
    QString caption;
    bool enabled = true;
    int accessKey = 0; // upper-case character code, 0 for none
    QRect rect;
    QRect closeBoxRect;
};

// The access key of a caption: "&&" is a literal ampersand; the last single "&" marks the key, whose
// upper-case character code is returned; 0 when there is none.
int accessKeyOf(QStringView caption);
// The caption as it is drawn: single ampersands removed, "&&" shown as "&"; `keyPosition` receives the
// index of the access-key character in the result, or -1.
QString visibleCaption(QStringView caption, qsizetype* keyPosition = nullptr);

// The tabs of a strip and the decisions that need no window: which tab a key, the wheel or a click
// selects, and where the tabs of the tabbed-dialog style lie.
class TabStripModel
{
public:
    explicit TabStripModel(int count = 3);

    int count() const { return int(m_tabs.size()); }
    const TabRecord& tab(int index) const { return m_tabs[index]; }
    TabRecord& tab(int index) { return m_tabs[index]; }
    void setCount(int count);
    void setCaption(int index, const QString& caption);

    // A requested active tab: out-of-range values select tab 0.
    int normalized(int index) const { return index < 0 || index >= count() ? 0 : index; }
    // The tab that Right (forward) or Left from `active` moves to, or -1 when a disabled neighbour blocks.
    int arrowTarget(int active, bool forward) const;
    // The tab the wheel moves to: a negative delta goes forward (wrapping to 0 through normalization),
    // any other delta back unless at tab 0; -1 for no move.
    int wheelTarget(int active, int delta) const;
    // The first enabled tab other than `active` whose access key is `keyAscii` (letters in either case).
    int accessKeyTarget(int active, int keyAscii) const;
    // The first enabled tab whose rectangle holds `point` within the tab row of height `rowHeight`, or -1.
    int tabAt(QPoint point, int rowHeight) const;
    // The tab whose close box holds `point`, or -1.
    int closeBoxAt(QPoint point) const;

    // Inserts a tab after `afterIndex`; returns its index.
    int insertTab(int afterIndex, const QString& caption);
    // Removes a tab (never the last one); returns false when refused.
    bool removeTab(int index);

    // Lays the tabs out in the tabbed-dialog style over `innerWidth` pixels.
    void layoutTabbedDialog(int innerWidth, int active, int activeHeight, int inactiveHeight);
    // Lays the tabs out in the property-pages style: each tab as wide as its caption (`captionWidth`).
    void layoutPropertyPages(int active, int activeHeight, int inactiveHeight,
                             const std::function<int(int)>& captionWidth);

private:
    QList<TabRecord> m_tabs;
};

// A filter of "description|patterns" pairs ("Text|*.txt|All|*.*") as Qt's file dialogs take it
// ("Text (*.txt);;All (*.*)").
QString fileDialogFilter(QStringView filter);

// How far the pages of the tabs that are not shown are moved out of sight, for a control `width` wide.
int pageShiftUnit(int width);

} // namespace kiv
