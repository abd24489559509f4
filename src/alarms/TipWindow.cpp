#include "alarms/TipWindow.h"

#include "alarms/AlarmTip.h"
#include "ui_TipWindow.h"

#include <QCloseEvent>

namespace kiv {
namespace {

constexpr int kTwipsPerPixel = 15; // the designed layout's unit

} // namespace

TipWindow::TipWindow(AlarmTip& tip)
    : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                           Qt::WindowStaysOnTopHint),
      m_tip(tip), m_ui(std::make_unique<Ui::FrmTip>())
{
    m_ui->setupUi(this);
    setFixedSize(TipTexts::ClientWidthTwips / kTwipsPerPixel, TipTexts::ClientHeightTwips / kTwipsPerPixel);
    connect(m_ui->CmdTip, &QPushButton::clicked, this, &QWidget::close);
    connect(&m_tip, &AlarmTip::viewChanged, this, &TipWindow::showView);
    connect(&m_tip, &AlarmTip::finished, this, &QWidget::close);
}

TipWindow::~TipWindow() = default;

void TipWindow::centreOn(const QRect& monitor)
{
    move(monitor.left() + (monitor.width() - width()) / 2, monitor.top() + (monitor.height() - height()) / 2);
}

void TipWindow::showView()
{
    const TipView& view = m_tip.view();
    setWindowTitle(view.caption);
    m_ui->LabTip->setText(view.labelText);
    m_ui->LabTip->setAlignment(view.labelCentred ? Qt::AlignHCenter | Qt::AlignTop : Qt::AlignLeft | Qt::AlignTop);
    m_ui->LabTip->move(m_ui->LabTip->x(), view.labelTopTwips / kTwipsPerPixel);
    m_ui->CmdTip->setText(view.buttonCaption);
}

void TipWindow::closeEvent(QCloseEvent* event)
{
    m_tip.unload();
    showView();
    event->accept();
}

TipWindowHost::TipWindowHost(AlarmTip& tip, std::function<QRect()> monitor) : m_tip(tip), m_monitor(std::move(monitor))
{}

TipWindowHost::~TipWindowHost() = default;

bool TipWindowHost::isOpen() const
{
    return m_window && m_window->isVisible();
}

void TipWindowHost::open()
{
    if (!m_window)
        m_window = std::make_unique<TipWindow>(m_tip);
    m_window->centreOn(m_monitor ? m_monitor() : QRect());
    m_window->show();
    m_window->raise();
    m_tip.ShowTip();
}

void TipWindowHost::showTip()
{
    m_tip.ShowTip();
    if (m_window)
        m_window->raise();
}

void TipWindowHost::close()
{
    if (m_window)
        m_window->close();
}

} // namespace kiv
