#pragma once

#include "platform/AlarmServices.h"

#include <QWidget>

#include <functional>
#include <memory>

namespace Ui {
class FrmTip;
}

namespace kiv {

class AlarmTip;

// The alarm tip window: shows what AlarmTip says, on top, centred on the clock's monitor. Its button and
// its close box close it, which cancels a countdown and stops the sound.
class TipWindow final : public QWidget
{
    Q_OBJECT

public:
    explicit TipWindow(AlarmTip& tip);
    ~TipWindow() override;

    // Centres the window on `monitor` (pixels).
    void centreOn(const QRect& monitor);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void showView();

    AlarmTip& m_tip;
    std::unique_ptr<Ui::FrmTip> m_ui;
};

// Opens the tip window on first use and keeps at most one.
class TipWindowHost final : public TipWindowPresenter
{
public:
    // `monitor` gives the rectangle of the clock's monitor when the window opens.
    TipWindowHost(AlarmTip& tip, std::function<QRect()> monitor);
    ~TipWindowHost() override;

    bool isOpen() const override;
    void open() override;
    void showTip() override;
    void close();
    TipWindow* window() const { return m_window.get(); }

private:
    AlarmTip& m_tip;
    std::function<QRect()> m_monitor;
    std::unique_ptr<TipWindow> m_window;
};

} // namespace kiv
