#include "widgets/tabstrip/ucXTab.h"

#include "core/ColorRef.h"

#include <QApplication>
#include <QChildEvent>
#include <QFileDialog>
#include <QKeyEvent>
#include <QPainter>
#include <QPainterPath>
#include <QShortcut>
#include <QStyle>
#include <QStyleOptionFocusRect>

namespace kiv {
namespace {

constexpr int kHoverWatchMs = 100;
constexpr int kStatusSettleMs = 400;
constexpr int kPictureGap = 3;

int shiftState(Qt::KeyboardModifiers modifiers)
{
    return (modifiers & Qt::ShiftModifier ? 1 : 0) | (modifiers & Qt::ControlModifier ? 2 : 0) |
           (modifiers & Qt::AltModifier ? 4 : 0);
}

int buttonCode(Qt::MouseButtons buttons)
{
    return (buttons & Qt::LeftButton ? 1 : 0) | (buttons & Qt::RightButton ? 2 : 0) |
           (buttons & Qt::MiddleButton ? 4 : 0);
}

// The key code of a key event, as virtual-key codes number them.
int keyCode(const QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Left:
        return 37;
    case Qt::Key_Up:
        return 38;
    case Qt::Key_Right:
        return 39;
    case Qt::Key_Down:
        return 40;
    case Qt::Key_PageUp:
        return 33;
    case Qt::Key_PageDown:
        return 34;
    case Qt::Key_Home:
        return 36;
    case Qt::Key_End:
        return 35;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return 13;
    case Qt::Key_Escape:
        return 27;
    case Qt::Key_Tab:
        return 9;
    case Qt::Key_Space:
        return 32;
    default:
        return event->key() < 0x80 ? event->key() : 0;
    }
}

QColor rgbColor(OleColor rgb)
{
    return colorFromColorref(qint32(rgb));
}

OleColor oleOf(const QColor& color)
{
    return OleColor(colorrefFromColor(color));
}

} // namespace

// Draws the strip from a snapshot of its properties, in the order background, tabs, close boxes.
class XTabPainter
{
public:
    XTabPainter(const ucXTab& tab, QPainter& painter) : m_tab(tab), m_p(painter) {}

    void draw()
    {
        // Theme 3 draws the page after the tabs, once the first refresh has armed it.
        const bool backgroundLast = m_tab.m_tabTheme == 3;
        if (!backgroundLast)
            drawPageFrame();
        drawTabs();
        if (backgroundLast && m_tab.m_initialised)
            drawPageFrame();
        if (m_tab.m_useControlBox) {
            for (int i = 0; i < m_tab.TabCount(); ++i)
                drawCloseBox(i, state(i));
        }
    }

private:
    QColor color(OleColor ole) const { return rgbColor(m_tab.GetRGBFromOLE(ole)); }

    int state(int index) const
    {
        if (index == m_tab.m_pressedBox)
            return 2;
        return index == m_tab.m_hotTab && m_tab.m_controlBoxEntered ? 1 : 0;
    }

    void line(QPoint from, QPoint to, OleColor ole)
    {
        m_p.setPen(QPen(color(ole), 1));
        m_p.drawLine(from, to);
    }

    void gradient(const QRect& rect, OleColor start, OleColor end)
    {
        // One-pixel lines from the start colour to the end colour, top to bottom.
        const QColor a = color(start);
        const QColor b = color(end);
        const int extent = std::max(rect.height(), 1);
        for (int y = 0; y < rect.height(); ++y) {
            const auto mix = [&](int from, int to) { return from + (to - from) * y / extent; };
            m_p.setPen(QColor(mix(a.red(), b.red()), mix(a.green(), b.green()), mix(a.blue(), b.blue())));
            m_p.drawLine(rect.left(), rect.top() + y, rect.right(), rect.top() + y);
        }
    }

    // The page continues the active tab: its colour, and a 3-D frame below the tab row.
    void drawPageFrame()
    {
        const TabColors& c = m_tab.m_colors;
        const int row = m_tab.tabRowHeight();
        const int w = m_tab.width();
        const int h = m_tab.height();
        const bool activeEnabled = m_tab.TabEnabled(m_tab.m_activeTab);
        const QColor page =
            rgbColor(m_tab.tabPaint(activeEnabled ? ucXTab::TabState::Active : ucXTab::TabState::Disabled).backEnd);
        m_p.fillRect(QRect(0, row, w, h - row), page);
        line({0, row}, {w - 1, row}, c.TopLeftInnerBorderColor);
        line({0, row}, {0, h - 1}, c.TopLeftInnerBorderColor);
        line({w - 1, row}, {w - 1, h - 1}, c.OuterBorderColor);
        line({0, h - 1}, {w - 1, h - 1}, c.OuterBorderColor);
        line({w - 2, row + 1}, {w - 2, h - 2}, c.BottomRightInnerBorderColor);
        line({1, h - 2}, {w - 2, h - 2}, c.BottomRightInnerBorderColor);
        // The active tab opens into the page: no frame line under it.
        const QRect active = m_tab.tabRect(m_tab.m_activeTab);
        if (active.isValid()) {
            m_p.setPen(page);
            m_p.drawLine(active.left() + 1, row, active.right() - 1, row);
        }
    }

    void drawTabs()
    {
        m_p.fillRect(QRect(0, 0, m_tab.width(), m_tab.tabRowHeight()), color(m_tab.m_colors.TabStripBackColor));
        for (int i = 0; i < m_tab.TabCount(); ++i) {
            if (i != m_tab.m_activeTab)
                drawTab(i);
        }
        drawTab(m_tab.m_activeTab); // on top of its neighbours
    }

    void drawTab(int index)
    {
        const TabColors& c = m_tab.m_colors;
        const QRect r = m_tab.tabRect(index);
        const bool active = index == m_tab.m_activeTab;
        const bool enabled = m_tab.TabEnabled(index);
        using State = ucXTab::TabState;
        const ucXTab::TabPaint paint = m_tab.tabPaint(!enabled ? State::Disabled
                                                      : active ? State::Active
                                                               : State::Inactive);
        fillTabShape(r, paint.backStart, paint.backEnd);
        outlineTab(r);
        const bool focused = active && m_tab.hasFocus();
        if (index == m_tab.m_hoverTab && enabled)
            m_p.fillRect(QRect(r.left() + 2, r.top() + 1, r.width() - 4, 2), color(c.HoverColor));
        else if (focused && c.UseFocusedColor)
            m_p.fillRect(QRect(r.left() + 2, r.top() + 1, r.width() - 4, 2), color(c.FocusedColor));
        drawCaption(index, r, paint.fore, active, focused);
    }

    // The tab's body: the rounded outline of the tabbed dialog, or a plain property page tab.
    void fillTabShape(const QRect& r, OleColor start, OleColor end)
    {
        m_p.save();
        if (m_tab.m_tabStyle == 0) {
            QPainterPath clip;
            clip.addRoundedRect(QRectF(r).adjusted(0, 0, 0, m_tab.m_yRadius), m_tab.m_xRadius / 2.0,
                                m_tab.m_yRadius / 2.0);
            m_p.setClipPath(clip);
        }
        gradient(r, start, end);
        m_p.restore();
    }

    void outlineTab(const QRect& r)
    {
        const TabColors& c = m_tab.m_colors;
        m_p.save();
        if (m_tab.m_tabStyle == 0) {
            m_p.setRenderHint(QPainter::Antialiasing);
            m_p.setClipRect(QRect(r.left(), r.top(), r.width(), r.height()));
            m_p.setPen(QPen(color(c.OuterBorderColor), 1));
            m_p.setBrush(Qt::NoBrush);
            m_p.drawRoundedRect(QRectF(r).adjusted(0.5, 0.5, -0.5, m_tab.m_yRadius), m_tab.m_xRadius / 2.0,
                                m_tab.m_yRadius / 2.0);
            m_p.setPen(QPen(color(c.TopLeftInnerBorderColor), 1));
            m_p.drawLine(QPointF(r.left() + m_tab.m_xRadius / 2.0, r.top() + 1.5),
                         QPointF(r.right() - m_tab.m_xRadius / 2.0, r.top() + 1.5));
        } else {
            line(r.bottomLeft(), r.topLeft() + QPoint(0, 2), c.TopLeftInnerBorderColor);
            line(r.topLeft() + QPoint(2, 0), r.topRight() - QPoint(2, 0), c.TopLeftInnerBorderColor);
            m_p.setPen(color(c.TopLeftInnerBorderColor));
            m_p.drawPoint(r.topLeft() + QPoint(1, 1));
            line(r.topRight() + QPoint(0, 2), r.bottomRight(), c.OuterBorderColor);
            m_p.setPen(color(c.OuterBorderColor));
            m_p.drawPoint(r.topRight() + QPoint(-1, 1));
            line(r.topRight() + QPoint(-1, 2), r.bottomRight() - QPoint(1, 0), c.BottomRightInnerBorderColor);
        }
        m_p.restore();
    }

    void drawCaption(int index, const QRect& r, OleColor fore, bool active, bool focused)
    {
        const TabColors& c = m_tab.m_colors;
        QRect area = r.adjusted(4, 2, -4, 0);
        if (m_tab.m_useControlBox)
            area.setRight(m_tab.closeBoxRect(index).left() - 2);
        const QPixmap picture = m_tab.TabPicture(index);
        if (!picture.isNull()) {
            const int size =
                m_tab.style()->pixelMetric(c.PictureSize == 0 ? QStyle::PM_SmallIconSize : QStyle::PM_LargeIconSize);
            QPixmap scaled = picture.scaled(size, size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
            if (c.UseMaskColor)
                scaled.setMask(scaled.createMaskFromColor(rgbColor(m_tab.GetRGBFromOLE(m_tab.m_pictureMaskColor))));
            const int y = area.top() + (area.height() - size) / 2;
            if (m_tab.m_pictureAlign == 1) {
                m_p.drawPixmap(area.right() - size, y, scaled);
                area.setRight(area.right() - size - kPictureGap);
            } else {
                m_p.drawPixmap(area.left(), y, scaled);
                area.setLeft(area.left() + size + kPictureGap);
            }
        }
        m_p.setFont(active ? m_tab.m_activeTabFont : m_tab.m_inActiveTabFont);
        m_p.setPen(rgbColor(fore));
        // Qt's mnemonic flag underlines the access key the way "&" marks it.
        m_p.drawText(area, Qt::AlignCenter | Qt::TextShowMnemonic, m_tab.TabCaption(index));
        if (focused && m_tab.m_showFocusRect) {
            QStyleOptionFocusRect option;
            option.initFrom(&m_tab);
            option.rect = m_p.boundingRect(area, Qt::AlignCenter | Qt::TextShowMnemonic, m_tab.TabCaption(index))
                              .adjusted(-2, -1, 2, 1);
            m_tab.style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &m_p, &m_tab);
        }
    }

    void drawCloseBox(int index, int boxState)
    {
        const TabColors& c = m_tab.m_colors;
        const QRect box = m_tab.closeBoxRect(index);
        if (!box.isValid())
            return;
        OleColor start = c.ActiveTabBackStartColor;
        OleColor end = c.ActiveTabBackEndColor;
        if (m_tab.m_tabTheme != 0 && boxState == 1) {
            end = shiftColor(m_tab.GetRGBFromOLE(end), -48);
        } else if (m_tab.m_tabTheme != 0 && boxState == 2) {
            start = end = shiftColor(m_tab.GetRGBFromOLE(end), -48);
        }
        m_p.save();
        m_p.setPen(QPen(color(c.OuterBorderColor), 1));
        m_p.setBrush(Qt::NoBrush);
        m_p.drawRoundedRect(box, 1, 1);
        gradient(QRect(QPoint(box.left() + 1, box.top() + 1), QPoint(box.right() - 1, box.bottom() - 2)), start, end);
        const QColor cross = rgbColor(shiftColor(m_tab.GetRGBFromOLE(c.OuterBorderColor), -192));
        m_p.setPen(QPen(cross, 1));
        m_p.drawLine(box.topLeft() + QPoint(3, 3), box.bottomRight() - QPoint(3, 3));
        m_p.drawLine(QPoint(box.right() - 3, box.top() + 3), QPoint(box.left() + 3, box.bottom() - 4));
        m_p.restore();
    }

    const ucXTab& m_tab;
    QPainter& m_p;
};

ucXTab::ucXTab(QWidget* parent) : QWidget(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    m_activeTabFont = font();
    m_inActiveTabFont = font();
    m_pictures.resize(m_model.count());
    kiv::ResetColorsToDefault(m_colors, m_tabTheme, containerColor(), GetRGBFromOLE(ActiveCaptionColor));
    connect(this, &ucXTab::changed, this, [this] { Refresh(); });
    m_hoverTimer.setInterval(kHoverWatchMs);
    connect(&m_hoverTimer, &QTimer::timeout, this, &ucXTab::TimerEvent);
    m_statusTimer.setSingleShot(true);
    m_statusTimer.setInterval(kStatusSettleMs);
    connect(&m_statusTimer, &QTimer::timeout, this, [this] { emit Status(QStringLiteral("完成 ") + m_parentAction); });
    rebuildAccessKeys();
}

ucXTab::~ucXTab() = default;

OleColor ucXTab::containerColor() const
{
    const QWidget* container = parentWidget() ? parentWidget() : this;
    return oleOf(container->palette().color(QPalette::Window));
}

ucXTab::TabPaint ucXTab::tabPaint(TabState state) const
{
    const TabColors& c = m_colors;
    TabPaint paint{};
    switch (state) {
    case TabState::Active:
        paint = {c.ActiveTabForeColor, c.ActiveTabBackStartColor, c.ActiveTabBackEndColor};
        break;
    case TabState::Inactive:
        paint = {c.InActiveTabForeColor, c.InActiveTabBackStartColor, c.InActiveTabBackEndColor};
        break;
    case TabState::Disabled:
        paint = {c.DisabledTabForeColor, c.DisabledTabBackColor, c.DisabledTabBackColor};
        break;
    }
    // Theme 3 leaves the end colours of the theme before it in place and draws its tabs flat.
    if (m_tabTheme == 3)
        paint.backEnd = paint.backStart;
    return {GetRGBFromOLE(paint.fore), GetRGBFromOLE(paint.backStart), GetRGBFromOLE(paint.backEnd)};
}

OleColor ucXTab::GetRGBFromOLE(OleColor color) const
{
    if (!(color & SystemColorBit))
        return color & 0x00FFFFFF;
    const QPalette& p = palette();
    switch (color & 0xFF) {
    case 0x03:
        return oleOf(p.color(QPalette::Active, QPalette::Highlight));
    case 0x05:
        return oleOf(p.color(QPalette::Base));
    case 0x08:
        return oleOf(p.color(QPalette::Text));
    case 0x0F:
        return oleOf(p.color(QPalette::Button));
    case 0x10:
        return oleOf(p.color(QPalette::Dark));
    case 0x11:
        // Grey text, drawn on the 3-D light of theme 2's tabs: the palette's shadow grey keeps 4.5:1 there,
        // where the disabled text grey would not.
        return oleOf(p.color(QPalette::Shadow));
    case 0x12:
        return oleOf(p.color(QPalette::ButtonText));
    case 0x14:
        return oleOf(p.color(QPalette::Light));
    case 0x15:
        return oleOf(p.color(QPalette::Shadow));
    case 0x16:
        return oleOf(p.color(QPalette::Light));
    default:
        return oleOf(p.color(QPalette::Window));
    }
}

void ucXTab::setActiveTab(int index)
{
    const int target = m_model.normalized(index);
    if (target == m_activeTab)
        return;
    bool cancel = false;
    emit BeforeTabSwitch(target, &cancel);
    if (cancel)
        return;
    const bool wasBusy = m_busy;
    m_busy = true;
    placePages(m_activeTab, target);
    m_lastActiveTab = m_activeTab;
    m_activeTab = m_hotTab = target;
    layoutTabs();
    m_busy = wasBusy;
    Refresh();
    update();
    emit TabSwitch(m_lastActiveTab);
}

void ucXTab::placePages(int fromActive, int toActive)
{
    const int unit = pageShiftUnit(width());
    for (auto it = m_pageOf.cbegin(); it != m_pageOf.cend(); ++it) {
        QWidget* child = it.key();
        // A page of tab k sits at its visible place minus (k - active) units.
        child->move(child->x() + (toActive - fromActive) * unit, child->y());
    }
}

void ucXTab::setTabCount(int count)
{
    count = std::max(count, 1);
    m_model.setCount(count);
    m_pictures.resize(count);
    if (m_activeTab >= count)
        setActiveTab(0);
    rebuildAccessKeys();
    layoutTabs();
    update();
}

void ucXTab::setTabStyle(int style)
{
    m_tabStyle = style;
    layoutTabs();
    update();
}

void ucXTab::setTabTheme(int theme)
{
    m_tabTheme = theme;
    ResetColorsToDefault();
    Refresh();
}

void ucXTab::setUseControlBox(bool use)
{
    m_useControlBox = use;
    update();
}

void ucXTab::setUseThemeDetection(bool use)
{
    m_colors.UseThemeDetection = use;
    Refresh();
}

QString ucXTab::TabCaption(int index) const
{
    return index >= 0 && index < TabCount() ? m_model.tab(index).caption : QString();
}

void ucXTab::setTabCaption(int index, const QString& caption)
{
    if (index < 0 || index >= TabCount())
        return;
    m_model.setCaption(index, caption);
    rebuildAccessKeys();
    layoutTabs();
    update();
}

bool ucXTab::TabEnabled(int index) const
{
    return index >= 0 && index < TabCount() && m_model.tab(index).enabled;
}

void ucXTab::setTabEnabled(int index, bool enabled)
{
    if (index < 0 || index >= TabCount())
        return;
    m_model.tab(index).enabled = enabled;
    update();
}

QPixmap ucXTab::TabPicture(int index) const
{
    return index >= 0 && index < m_pictures.size() ? m_pictures[index] : QPixmap();
}

void ucXTab::setTabPicture(int index, const QPixmap& picture)
{
    if (index < 0 || index >= m_pictures.size())
        return;
    m_pictures[index] = picture;
    update();
}

int ucXTab::TabAccessKey(int index) const
{
    return index >= 0 && index < TabCount() ? m_model.tab(index).accessKey : 0;
}

QStringList ucXTab::TabCaptions() const
{
    QStringList captions;
    for (int i = 0; i < TabCount(); ++i)
        captions.append(TabCaption(i));
    return captions;
}

void ucXTab::setTabCaptions(const QStringList& captions)
{
    if (captions.size() > TabCount())
        setTabCount(int(captions.size()));
    for (int i = 0; i < captions.size(); ++i)
        m_model.setCaption(i, captions[i]);
    rebuildAccessKeys();
    layoutTabs();
    update();
}

QList<bool> ucXTab::TabEnabledStates() const
{
    QList<bool> states;
    for (int i = 0; i < TabCount(); ++i)
        states.append(TabEnabled(i));
    return states;
}

void ucXTab::setTabEnabledStates(const QList<bool>& states)
{
    for (int i = 0; i < states.size() && i < TabCount(); ++i)
        m_model.tab(i).enabled = states[i];
    update();
}

QList<int> ucXTab::TabAccessKeys() const
{
    QList<int> keys;
    for (int i = 0; i < TabCount(); ++i)
        keys.append(TabAccessKey(i));
    return keys;
}

void ucXTab::setTabAccessKeys(const QList<int>& keys)
{
    for (int i = 0; i < keys.size() && i < TabCount(); ++i)
        m_model.tab(i).accessKey = keys[i];
    rebuildAccessKeys();
}

void ucXTab::setTabPictures(const QList<QPixmap>& pictures)
{
    for (int i = 0; i < pictures.size() && i < TabCount(); ++i)
        m_pictures[i] = pictures[i];
    layoutTabs();
    update();
}

void ucXTab::CopyTabImagesFromImageList(const QList<QPixmap>& images)
{
    setTabPictures(images);
}

void ucXTab::ShowHideFocus()
{
    m_showFocusRect = !m_showFocusRect;
    update();
}

QString ucXTab::ShowFileOpenDialog(qulonglong owner, const QString& initialFolder, const QString& filter)
{
    QWidget* parent = owner ? QWidget::find(WId(owner)) : nullptr;
    return QFileDialog::getOpenFileName(parent ? parent : window(), QString(), initialFolder, fileDialogFilter(filter));
}

void ucXTab::InsertTab(int afterIndex, const QString& caption)
{
    const int index = m_model.insertTab(afterIndex, caption);
    m_pictures.insert(index, QPixmap());
    for (auto it = m_pageOf.begin(); it != m_pageOf.end(); ++it) {
        if (it.value() >= index) {
            ++it.value();
            it.key()->move(it.key()->x() - pageShiftUnit(width()), it.key()->y());
        }
    }
    if (m_activeTab >= index) {
        // The tab shown stays shown: its index moved up by one.
        ++m_activeTab;
        for (auto it = m_pageOf.begin(); it != m_pageOf.end(); ++it)
            it.key()->move(it.key()->x() + pageShiftUnit(width()), it.key()->y());
    }
    rebuildAccessKeys();
    layoutTabs();
    update();
    emit TabInsert(index);
}

void ucXTab::RemoveTab(int index)
{
    if (TabCount() <= 1 || index < 0 || index >= TabCount())
        return;
    setActiveTab(index);
    if (m_activeTab != index)
        return; // the switch was cancelled
    const int unit = pageShiftUnit(width());
    for (auto it = m_pageOf.begin(); it != m_pageOf.end();) {
        if (it.value() == index) {
            it.key()->move(it.key()->x() - unit, it.key()->y());
            it.key()->hide();
            it = m_pageOf.erase(it);
            continue;
        }
        if (it.value() > index)
            --it.value();
        ++it;
    }
    m_model.removeTab(index);
    m_pictures.removeAt(index);
    // The tab that follows takes the removed one's place; after the last tab its left neighbour does.
    const int next = std::min(index, TabCount() - 1);
    for (auto it = m_pageOf.begin(); it != m_pageOf.end(); ++it) {
        const int k = it.value();
        const int visibleX = it.key()->x() + (k + (k >= index ? 1 : 0) - index) * unit;
        it.key()->move(visibleX - (k - next) * unit, it.key()->y());
    }
    m_lastActiveTab = index;
    m_activeTab = m_hotTab = next;
    rebuildAccessKeys();
    layoutTabs();
    update();
    emit TabRemove(index);
}

void ucXTab::AddControl(QWidget* control, int left, int top, int width, int height, int tabIndex)
{
    if (tabIndex >= 0 && tabIndex != m_activeTab)
        setActiveTab(tabIndex);
    if (!control)
        return;
    control->setParent(this);
    m_pageOf.insert(control, m_activeTab);
    const QRect g = control->geometry();
    control->setGeometry(left >= 0 ? left : g.x(), top >= 0 ? top : g.y(), width >= 0 ? width : g.width(),
                         height >= 0 ? height : g.height());
    control->show();
}

int ucXTab::tabOfControl(const QWidget* control) const
{
    return m_pageOf.value(const_cast<QWidget*>(control), -1);
}

void ucXTab::childEvent(QChildEvent* event)
{
    // Widgets placed on the strip by a form belong to the tab active when they arrive.
    if (event->type() == QEvent::ChildAdded && event->child()->isWidgetType())
        m_pageOf.insert(static_cast<QWidget*>(event->child()), m_activeTab);
    else if (event->type() == QEvent::ChildRemoved) {
        // A child being destroyed is no longer a widget: find it by its object address alone.
        const QObject* removed = event->child();
        m_pageOf.removeIf([removed](const auto& page) { return static_cast<QObject*>(page.key()) == removed; });
    }
    QWidget::childEvent(event);
}

void ucXTab::Refresh()
{
    if (m_busy)
        return;
    m_busy = true;
    if (!m_initialised) {
        m_initialised = true;
        emit AfterCompleteInit();
    }
    if (m_colors.UseThemeDetection) {
        const int theme = GetThemeInfo() != u"None" ? 1 : 0;
        if (theme != m_tabTheme) {
            m_tabTheme = theme;
            ResetColorsToDefault();
        }
    }
    layoutTabs();
    update();
    m_busy = false;
}

void ucXTab::Cls()
{
    update();
}

void ucXTab::ResetAllColors()
{
    ResetColorsToDefault();
    Refresh();
}

void ucXTab::ResetColorsToDefault()
{
    kiv::ResetColorsToDefault(m_colors, m_tabTheme, containerColor(), GetRGBFromOLE(ActiveCaptionColor));
    update();
}

void ucXTab::RemoveTabImages(int index, bool removeAll)
{
    for (int i = 0; i < m_pictures.size(); ++i) {
        if (removeAll || i == index)
            m_pictures[i] = QPixmap();
    }
    update();
}

QString ucXTab::Version(bool dateTime) const
{
    const QString version = QStringLiteral("1.0.0");
    return dateTime ? version + QStringLiteral(" (") + QStringLiteral(__DATE__) + u')' : version;
}

QString ucXTab::GetThemeInfo() const
{
    const QString name = style() ? style()->name() : QString();
    return name.isEmpty() || name.compare(QStringLiteral("windows"), Qt::CaseInsensitive) == 0 ? QStringLiteral("None")
                                                                                               : name;
}

bool ucXTab::IsWinXP() const
{
    return GetThemeInfo() != u"None";
}

void ucXTab::layoutTabs()
{
    if (m_tabStyle == 1) {
        m_model.layoutPropertyPages(m_activeTab, m_activeTabHeight, m_inActiveTabHeight, [this](int i) {
            const QFontMetrics metrics(i == m_activeTab ? m_activeTabFont : m_inActiveTabFont);
            int width = metrics.horizontalAdvance(visibleCaption(TabCaption(i)));
            if (!TabPicture(i).isNull())
                width += style()->pixelMetric(QStyle::PM_SmallIconSize) + kPictureGap;
            return width + (m_useControlBox ? 16 : 0);
        });
    } else {
        m_model.layoutTabbedDialog(width(), m_activeTab, m_activeTabHeight, m_inActiveTabHeight);
    }
}

void ucXTab::rebuildAccessKeys()
{
    qDeleteAll(m_shortcuts);
    m_shortcuts.clear();
    QList<int> keys;
    for (int i = 0; i < TabCount(); ++i) {
        const int key = m_model.tab(i).accessKey;
        if (key != 0 && !keys.contains(key))
            keys.append(key);
    }
    // One shortcut per key: tabs that share a key are visited in turn, one per press. Where a button of
    // the window has the same key, Qt reports the press as ambiguous; it still switches the tab.
    for (const int key : keys) {
        auto* shortcut = new QShortcut(QKeySequence(Qt::ALT | Qt::Key(key)), this);
        connect(shortcut, &QShortcut::activated, this, [this, key] { accessKey(key); });
        connect(shortcut, &QShortcut::activatedAmbiguously, this, [this, key] { accessKey(key); });
        m_shortcuts.append(shortcut);
    }
}

void ucXTab::accessKey(int keyAscii)
{
    const int target = m_model.accessKeyTarget(m_activeTab, keyAscii);
    if (target < 0 || m_busy)
        return;
    m_busy = true;
    setActiveTab(target);
    m_busy = false;
}

void ucXTab::paintEvent(QPaintEvent*)
{
    layoutTabs();
    QPainter painter(this);
    XTabPainter(*this, painter).draw();
}

void ucXTab::mousePressEvent(QMouseEvent* event)
{
    const QPoint position = event->position().toPoint();
    if (!m_busy)
        emit MouseDown(buttonCode(event->buttons()), shiftState(event->modifiers()), position.x(), position.y());
    if (event->button() != Qt::LeftButton)
        return;
    m_busy = true;
    if (hoverThemes())
        m_hoverTab = -1;
    if (m_useControlBox) {
        const int box = m_model.closeBoxAt(position);
        if (box >= 0) {
            m_controlBoxEntered = true;
            m_pressedBox = box;
            emit ControlBoxMouseDown(position.x(), position.y());
        }
    }
    const int target = m_model.tabAt(position, tabRowHeight());
    m_busy = false;
    if (target >= 0 && target != m_activeTab)
        setActiveTab(target);
    update();
}

void ucXTab::mouseReleaseEvent(QMouseEvent* event)
{
    const QPoint position = event->position().toPoint();
    if (!m_busy)
        emit MouseUp(buttonCode(event->button()), shiftState(event->modifiers()), position.x(), position.y());
    const int pressed = m_pressedBox;
    m_pressedBox = -1;
    if (event->button() == Qt::LeftButton && m_useControlBox && pressed >= 0 &&
        m_model.closeBoxAt(position) == pressed) {
        emit ControlBoxMouseUp(position.x(), position.y());
        RemoveTab(pressed);
    }
    if (event->button() == Qt::LeftButton && rect().contains(position))
        emit Click();
    update();
}

void ucXTab::mouseDoubleClickEvent(QMouseEvent* event)
{
    emit DblClick();
    QWidget::mouseDoubleClickEvent(event);
}

void ucXTab::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint position = event->position().toPoint();
    if (!m_pointerInside) {
        m_pointerInside = true;
        emit MouseEnter();
    }
    emit MouseMove(buttonCode(event->buttons()), shiftState(event->modifiers()), position.x(), position.y());
    if (hoverThemes()) {
        const int hover = position.y() < tabRowHeight() ? m_model.tabAt(position, tabRowHeight()) : -1;
        if (hover != m_hoverTab) {
            m_hoverTab = hover;
            update();
        }
        if (hover >= 0)
            m_hoverTimer.start();
    }
    updateControlBoxHover(position);
}

void ucXTab::updateControlBoxHover(QPoint position)
{
    int tested = -1;
    if (hoverThemes()) {
        if (tabRect(m_activeTab).contains(position))
            tested = m_activeTab;
        else if (m_hotTab >= 0 && m_hotTab < TabCount() && tabRect(m_hotTab).contains(position))
            tested = m_hotTab;
        else
            return;
        emit MouseHover(position.x(), position.y());
        if (!m_useControlBox)
            return;
        m_hotTab = tested;
    } else {
        if (!m_useControlBox)
            return;
        tested = m_model.closeBoxAt(position);
        if (tested < 0) {
            if (m_controlBoxEntered) {
                m_controlBoxEntered = false;
                emit ControlBoxExit();
                update();
            }
            return;
        }
        if (tested != m_hotTab && m_controlBoxEntered) {
            emit ControlBoxExit();
            m_controlBoxEntered = false;
        }
        m_hotTab = tested;
    }
    if (closeBoxRect(tested).contains(position)) {
        if (m_controlBoxEntered) {
            emit ControlBoxHover(position.x(), position.y());
        } else {
            m_controlBoxEntered = true;
            emit ControlBoxEnter();
        }
    } else if (m_controlBoxEntered) {
        m_controlBoxEntered = false;
        emit ControlBoxExit();
    }
    update();
}

void ucXTab::TimerEvent()
{
    const QPoint position = mapFromGlobal(QCursor::pos());
    if (hoverThemes() && (position.y() >= tabRowHeight() || !rect().contains(position))) {
        m_hoverTab = -1;
        m_hoverTimer.stop();
        update();
    }
}

void ucXTab::wheelEvent(QWheelEvent* event)
{
    if (!m_useMouseWheelScroll || !TabEnabled(m_activeTab))
        return;
    // A wheel turned toward the user reports a negative delta.
    const int delta = event->angleDelta().y();
    if (delta < 0)
        emit MouseScrollUp();
    else
        emit MouseScrollDown();
    const int target = m_model.wheelTarget(m_activeTab, delta);
    if (target >= 0)
        setActiveTab(target);
    event->accept();
}

void ucXTab::keyPressEvent(QKeyEvent* event)
{
    const bool ctrl = event->modifiers() & Qt::ControlModifier;
    int target = -1;
    if (event->key() == Qt::Key_Right || (ctrl && event->key() == Qt::Key_PageDown))
        target = m_model.arrowTarget(m_activeTab, true);
    else if (event->key() == Qt::Key_Left || (ctrl && event->key() == Qt::Key_PageUp))
        target = m_model.arrowTarget(m_activeTab, false);
    if (target >= 0)
        setActiveTab(target);
    emit KeyDown(keyCode(event), shiftState(event->modifiers()));
    if (!event->text().isEmpty() && event->text().at(0).unicode() < 0x80)
        emit KeyPress(event->text().at(0).unicode());
}

void ucXTab::keyReleaseEvent(QKeyEvent* event)
{
    emit KeyUp(keyCode(event), shiftState(event->modifiers()));
}

void ucXTab::leaveEvent(QEvent* event)
{
    m_pointerInside = false;
    emit MouseLeave();
    TimerEvent();
    QWidget::leaveEvent(event);
}

void ucXTab::focusInEvent(QFocusEvent* event)
{
    update();
    QWidget::focusInEvent(event);
}

void ucXTab::focusOutEvent(QFocusEvent* event)
{
    update();
    QWidget::focusOutEvent(event);
}

void ucXTab::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    // The parent window's moves and resizes are reported as Status.
    if (window() != this && m_watchedWindow != window()) {
        if (m_watchedWindow)
            m_watchedWindow->removeEventFilter(this);
        m_watchedWindow = window();
        m_watchedWindow->installEventFilter(this);
    }
    Refresh();
}

void ucXTab::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::PaletteChange || event->type() == QEvent::StyleChange)
        Refresh();
    if (event->type() == QEvent::ActivationChange) {
        m_hotTab = m_activeTab;
        Refresh();
    }
    QWidget::changeEvent(event);
}

bool ucXTab::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_watchedWindow && m_watchedWindow->isVisible()) {
        if (event->type() == QEvent::Move) {
            m_parentAction = QStringLiteral("Moving.");
            emit Status(QStringLiteral("Form is moving..."));
            m_statusTimer.start();
        } else if (event->type() == QEvent::Resize) {
            m_parentAction = QStringLiteral("Sizing.");
            emit Status(QStringLiteral("Form is sizing..."));
            m_statusTimer.start();
        }
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace kiv
