#pragma once

#include "widgets/tabstrip/TabStripModel.h"

#include <QFont>
#include <QHash>
#include <QPixmap>
#include <QPointer>
#include <QTimer>
#include <QWidget>

class QShortcut;

namespace kiv {

// A tab strip drawn by itself in two styles (0 tabbed dialog, 1 property pages) and five colour themes,
// with access keys, pictures, enabled states, optional close boxes, keyboard, wheel and hover handling.
// Child widgets belong to the tab that was active when they were added; the pages of the other tabs are
// moved out of sight.
class ucXTab final : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(int ActiveTab READ ActiveTab WRITE setActiveTab)
    Q_PROPERTY(int TabCount READ TabCount WRITE setTabCount)
    Q_PROPERTY(int TabStyle READ TabStyle WRITE setTabStyle)
    Q_PROPERTY(int TabTheme READ TabTheme WRITE setTabTheme)
    Q_PROPERTY(bool UseControlBox MEMBER m_useControlBox WRITE setUseControlBox)
    Q_PROPERTY(bool ShowFocusRect MEMBER m_showFocusRect NOTIFY changed)
    Q_PROPERTY(bool UseFocusedColor READ UseFocusedColor WRITE setUseFocusedColor)
    Q_PROPERTY(bool UseMaskColor READ UseMaskColor WRITE setUseMaskColor)
    Q_PROPERTY(bool UseMouseWheelScroll MEMBER m_useMouseWheelScroll NOTIFY changed)
    Q_PROPERTY(bool UseThemeDetection READ UseThemeDetection WRITE setUseThemeDetection)
    Q_PROPERTY(int PictureAlign MEMBER m_pictureAlign NOTIFY changed)
    Q_PROPERTY(int PictureSize READ PictureSize WRITE setPictureSize)
    Q_PROPERTY(uint ActiveTabBackStartColor READ ActiveTabBackStartColor WRITE setActiveTabBackStartColor)
    Q_PROPERTY(uint ActiveTabBackEndColor READ ActiveTabBackEndColor WRITE setActiveTabBackEndColor)
    Q_PROPERTY(uint ActiveTabForeColor READ ActiveTabForeColor WRITE setActiveTabForeColor)
    Q_PROPERTY(int ActiveTabHeight MEMBER m_activeTabHeight NOTIFY changed)
    Q_PROPERTY(uint InActiveTabBackStartColor READ InActiveTabBackStartColor WRITE setInActiveTabBackStartColor)
    Q_PROPERTY(uint InActiveTabBackEndColor READ InActiveTabBackEndColor WRITE setInActiveTabBackEndColor)
    Q_PROPERTY(uint InActiveTabForeColor READ InActiveTabForeColor WRITE setInActiveTabForeColor)
    Q_PROPERTY(int InActiveTabHeight MEMBER m_inActiveTabHeight NOTIFY changed)
    Q_PROPERTY(uint DisabledTabBackColor READ DisabledTabBackColor WRITE setDisabledTabBackColor)
    Q_PROPERTY(uint DisabledTabForeColor READ DisabledTabForeColor WRITE setDisabledTabForeColor)
    Q_PROPERTY(uint FocusedColor READ FocusedColor WRITE setFocusedColor)
    Q_PROPERTY(uint HoverColor READ HoverColor WRITE setHoverColor)
    Q_PROPERTY(uint OuterBorderColor READ OuterBorderColor WRITE setOuterBorderColor)
    Q_PROPERTY(uint TopLeftInnerBorderColor READ TopLeftInnerBorderColor WRITE setTopLeftInnerBorderColor)
    Q_PROPERTY(uint BottomRightInnerBorderColor READ BottomRightInnerBorderColor WRITE setBottomRightInnerBorderColor)
    Q_PROPERTY(uint TabStripBackColor READ TabStripBackColor WRITE setTabStripBackColor)
    Q_PROPERTY(int XRadius MEMBER m_xRadius NOTIFY changed)
    Q_PROPERTY(int YRadius MEMBER m_yRadius NOTIFY changed)
    Q_PROPERTY(QFont ActiveTabFont MEMBER m_activeTabFont NOTIFY changed)
    Q_PROPERTY(QFont InActiveTabFont MEMBER m_inActiveTabFont NOTIFY changed)
    Q_PROPERTY(uint BackColor MEMBER m_backColor NOTIFY changed)
    Q_PROPERTY(bool Enabled READ isEnabled WRITE setEnabled)
    Q_PROPERTY(uint ForeColor MEMBER m_foreColor NOTIFY changed)
    Q_PROPERTY(uint PictureMaskColor MEMBER m_pictureMaskColor NOTIFY changed)
    // The per-tab values, persisted as lists: TabCaption(i), TabEnabled(i), TabAccessKey(i), TabPicture(i).
    // The access keys follow the captions, which they come after.
    Q_PROPERTY(QStringList TabCaptions READ TabCaptions WRITE setTabCaptions)
    Q_PROPERTY(QList<bool> TabEnabledStates READ TabEnabledStates WRITE setTabEnabledStates)
    Q_PROPERTY(QList<int> TabAccessKeys READ TabAccessKeys WRITE setTabAccessKeys)
    Q_PROPERTY(QList<QPixmap> TabPictures READ TabPictures WRITE setTabPictures)
    Q_PROPERTY(int LastActiveTab READ LastActiveTab)
    Q_PROPERTY(qulonglong hwnd READ hwnd)
    Q_PROPERTY(qulonglong hdc READ hdc)
    Q_PROPERTY(int ScaleWidth READ width)
    Q_PROPERTY(int ScaleHeight READ height)

public:
    explicit ucXTab(QWidget* parent = nullptr);
    ~ucXTab() override;

    int ActiveTab() const { return m_activeTab; }
    void setActiveTab(int index);
    int LastActiveTab() const { return m_lastActiveTab; }
    int TabCount() const { return m_model.count(); }
    void setTabCount(int count);
    int TabStyle() const { return m_tabStyle; }
    void setTabStyle(int style);
    int TabTheme() const { return m_tabTheme; }
    void setTabTheme(int theme);
    void setUseControlBox(bool use);

    QString TabCaption(int index) const;
    void setTabCaption(int index, const QString& caption);
    bool TabEnabled(int index) const;
    void setTabEnabled(int index, bool enabled);
    QPixmap TabPicture(int index) const;
    void setTabPicture(int index, const QPixmap& picture);
    int TabAccessKey(int index) const;
    QStringList TabCaptions() const;
    void setTabCaptions(const QStringList& captions);
    QList<bool> TabEnabledStates() const;
    void setTabEnabledStates(const QList<bool>& states);
    QList<int> TabAccessKeys() const;
    void setTabAccessKeys(const QList<int>& keys);
    QList<QPixmap> TabPictures() const { return m_pictures; }
    void setTabPictures(const QList<QPixmap>& pictures);

    // The native window the strip draws in (its own, or the nearest one above it), without making the strip
    // a native window of its own.
    qulonglong hwnd() const { return effectiveWinId(); }
    // The strip draws with a QPainter inside its paint events; there is no device context to hand out.
    qulonglong hdc() const { return 0; }

    // The colours a tab is drawn in, as 0x00BBGGRR: its caption and the two ends of its background.
    enum class TabState
    {
        Active,
        Inactive,
        Disabled,
    };
    struct TabPaint
    {
        OleColor fore;
        OleColor backStart;
        OleColor backEnd;
    };
    TabPaint tabPaint(TabState state) const;
    // The space the page frame below the tabs takes at each edge: what lies inside it is the page.
    QMargins pageMargins() const { return {1, tabRowHeight() + 1, 2, 2}; }

    // The tab's rectangle and its close box, as the last drawing placed them.
    QRect tabRect(int index) const { return m_model.tab(index).rect; }
    QRect closeBoxRect(int index) const { return m_model.tab(index).closeBoxRect; }
    int tabRowHeight() const { return std::max(m_activeTabHeight, m_inActiveTabHeight); }
    bool isBusy() const { return m_busy; }

    void InsertTab(int afterIndex, const QString& caption = {});
    void RemoveTab(int index);
    // Adds `control` to the page of tab `tabIndex` (the active tab when -1) at the given geometry (-1 keeps).
    void AddControl(QWidget* control, int left = -1, int top = -1, int width = -1, int height = -1, int tabIndex = -1);
    // The tab whose page holds `control`, or -1.
    int tabOfControl(const QWidget* control) const;
    void Refresh();
    void Cls();
    void ResetAllColors();
    void ResetColorsToDefault();
    void RemoveTabImages(int index = -1, bool removeAll = false);
    // Tab i takes image i of the list, for as many tabs as the list has images.
    void CopyTabImagesFromImageList(const QList<QPixmap>& images);
    // Turns the focus rectangle of the active tab on or off (ShowFocusRect) and redraws.
    void ShowHideFocus();
    // An open-file dialog over the window `owner` (0: the strip's window), in `initialFolder`, with a filter
    // of "description|patterns" pairs ("Text|*.txt|All|*.*"); the chosen path, or "" when cancelled.
    QString ShowFileOpenDialog(qulonglong owner, const QString& initialFolder = {}, const QString& filter = {});
    QString Version(bool dateTime = false) const;
    // The visual style in use: the Qt style's name, or "None" for the classic, unthemed look.
    QString GetThemeInfo() const;
    bool IsWinXP() const;
    // The 0x00BBGGRR value of an OLE colour; system colours come from the palette.
    OleColor GetRGBFromOLE(OleColor color) const;

    // Colour properties.
#define KIV_XTAB_COLOR(Name)                                                                                           \
    uint Name() const                                                                                                  \
    {                                                                                                                  \
        return m_colors.Name;                                                                                          \
    }                                                                                                                  \
    void set##Name(uint value)                                                                                         \
    {                                                                                                                  \
        m_colors.Name = value;                                                                                         \
        update();                                                                                                      \
    }
    KIV_XTAB_COLOR(ActiveTabBackStartColor)
    KIV_XTAB_COLOR(ActiveTabBackEndColor)
    KIV_XTAB_COLOR(ActiveTabForeColor)
    KIV_XTAB_COLOR(InActiveTabBackStartColor)
    KIV_XTAB_COLOR(InActiveTabBackEndColor)
    KIV_XTAB_COLOR(InActiveTabForeColor)
    KIV_XTAB_COLOR(DisabledTabBackColor)
    KIV_XTAB_COLOR(DisabledTabForeColor)
    KIV_XTAB_COLOR(FocusedColor)
    KIV_XTAB_COLOR(HoverColor)
    KIV_XTAB_COLOR(OuterBorderColor)
    KIV_XTAB_COLOR(TopLeftInnerBorderColor)
    KIV_XTAB_COLOR(BottomRightInnerBorderColor)
    KIV_XTAB_COLOR(TabStripBackColor)
#undef KIV_XTAB_COLOR
    bool UseFocusedColor() const
    {
        return m_colors.UseFocusedColor;
    }
    void setUseFocusedColor(bool use)
    {
        m_colors.UseFocusedColor = use;
        update();
    }
    bool UseMaskColor() const
    {
        return m_colors.UseMaskColor;
    }
    void setUseMaskColor(bool use)
    {
        m_colors.UseMaskColor = use;
        update();
    }
    bool UseThemeDetection() const
    {
        return m_colors.UseThemeDetection;
    }
    void setUseThemeDetection(bool use);
    int PictureSize() const
    {
        return m_colors.PictureSize;
    }
    void setPictureSize(int size)
    {
        m_colors.PictureSize = size;
        update();
    }
    const TabColors& colors() const
    {
        return m_colors;
    }

signals:
    void changed();
    void BeforeTabSwitch(int newTab, bool* cancel);
    void TabSwitch(int lastActiveTab);
    void Click();
    void ControlBoxEnter();
    void ControlBoxExit();
    void ControlBoxHover(int x, int y);
    void ControlBoxMouseDown(int x, int y);
    void ControlBoxMouseUp(int x, int y);
    void DblClick();
    void KeyDown(int keyCode, int shift);
    void KeyUp(int keyCode, int shift);
    void KeyPress(int keyAscii);
    void MouseDown(int button, int shift, int x, int y);
    void MouseMove(int button, int shift, int x, int y);
    void MouseUp(int button, int shift, int x, int y);
    void MouseHover(int x, int y);
    void MouseScrollUp();
    void MouseScrollDown();
    void TabInsert(int index);
    void TabRemove(int index);
    void AfterCompleteInit();
    void MouseEnter();
    void MouseLeave();
    void Status(const QString& text);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void childEvent(QChildEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    friend class XTabPainter;
    void placePages(int fromActive, int toActive);
    void accessKey(int keyAscii);
    void rebuildAccessKeys();
    void layoutTabs();
    void TimerEvent();
    void updateControlBoxHover(QPoint position);
    bool hoverThemes() const
    {
        return m_tabTheme == 1 || m_tabTheme == 4;
    }
    OleColor containerColor() const;

    TabStripModel m_model;
    TabColors m_colors;
    QList<QPixmap> m_pictures;
    QHash<QWidget*, int> m_pageOf;
    QList<QShortcut*> m_shortcuts;
    int m_activeTab = 0;
    int m_lastActiveTab = 0;
    int m_hotTab = 0;
    int m_hoverTab = -1;   // the tab drawn in its hover state (themes 1 and 4)
    int m_pressedBox = -1; // the close box drawn pressed
    bool m_controlBoxEntered = false;
    bool m_pointerInside = false;
    bool m_busy = false;
    bool m_initialised = false;
    int m_tabStyle = 0;
    int m_tabTheme = 0;
    bool m_useControlBox = false;
    bool m_showFocusRect = true;
    bool m_useMouseWheelScroll = true;
    int m_pictureAlign = 0;
    int m_activeTabHeight = 20;
    int m_inActiveTabHeight = 18;
    int m_xRadius = 10;
    int m_yRadius = 10;
    QFont m_activeTabFont;
    QFont m_inActiveTabFont;
    uint m_backColor = ButtonFaceColor;
    uint m_foreColor = 0;
    uint m_pictureMaskColor = 0x00C0C0C0;
    QTimer m_hoverTimer;
    QTimer m_statusTimer;
    QString m_parentAction;
    QPointer<QWidget> m_watchedWindow;
};

} // namespace kiv
