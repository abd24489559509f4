#include "dialogs/SmallDialogs.h"

#include "ui_AboutDialog.h"
#include "ui_AlphaDialog.h"

#include <QDesktopServices>
#include <QUrl>

namespace kiv {
namespace {

QString alphaText(int value)
{
    return AlphaDialog::tr("Alpha 值: %1").arg(value);
}

} // namespace

AlphaDialog::AlphaDialog(int startAlpha, bool onTop, QWidget* parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::FrmAlpha>()), m_alpha(startAlpha)
{
    m_ui->setupUi(this);
    setWindowFlag(Qt::WindowStaysOnTopHint, onTop);
    m_ui->HSValue->setValue(startAlpha);
    m_ui->LabValue->setText(alphaText(startAlpha));
    // The label follows every change of the value: a drag, the arrows and the keys, a click on the track.
    connect(m_ui->HSValue, &QScrollBar::valueChanged, this,
            [this](int value) { m_ui->LabValue->setText(alphaText(value)); });
    connect(m_ui->CmdOK, &QPushButton::clicked, this, [this] {
        m_alpha = m_ui->HSValue->value();
        accept();
    });
}

AlphaDialog::~AlphaDialog() = default;

int AlphaDialog::ask(int startAlpha, bool onTop, QWidget* parent)
{
    AlphaDialog dialog(startAlpha, onTop, parent);
    dialog.exec();
    return dialog.chosenAlpha();
}

AboutDialog::AboutDialog(const QString& version, std::function<void(const QString&)> openUrl, QWidget* parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::FrmAbout>()), m_openUrl(std::move(openUrl))
{
    m_ui->setupUi(this);
    setAttribute(Qt::WA_DeleteOnClose, false);
    m_ui->PicLogo->setPixmap(windowIcon().pixmap(64, 64));
    m_ui->LabAbout->setText(QStringLiteral("Kiv Clock ") + version + QStringLiteral("\r\n\r\n") +
                            tr("一个强大的彩色时钟") +
                            QStringLiteral("\r\n\r\nCopyright © 2026 Kiv Clock contributors.\r\n") +
                            tr("本程序按 GNU 通用公共许可证第三版或更高版本发布, 不提供任何担保."));
    m_ui->LabHome0->setText(tr("网站: %1").arg(AboutTexts::WebSite));
    m_ui->LabHome1->setText(QStringLiteral("Support: ") + AboutTexts::SupportAddress);
    for (QLabel* link : {m_ui->LabHome0, m_ui->LabHome1})
        link->installEventFilter(this);
    if (!m_openUrl)
        m_openUrl = [](const QString& url) { QDesktopServices::openUrl(QUrl(url)); };
    connect(m_ui->Command1, &QPushButton::clicked, this, &QDialog::close);
}

AboutDialog::~AboutDialog() = default;

QString AboutDialog::aboutText() const
{
    return m_ui->LabAbout->text();
}

void AboutDialog::underline(QLabel* label, bool on)
{
    QFont font = label->font();
    if (font.underline() == on)
        return;
    font.setUnderline(on);
    label->setFont(font);
}

bool AboutDialog::eventFilter(QObject* watched, QEvent* event)
{
    auto* label = qobject_cast<QLabel*>(watched);
    // A link is underlined while the pointer is over it.
    if (label && (event->type() == QEvent::Enter || event->type() == QEvent::Leave))
        underline(label, event->type() == QEvent::Enter);
    if (label && event->type() == QEvent::MouseButtonRelease) {
        m_openUrl(label == m_ui->LabHome0
                      ? AboutTexts::WebSite
                      : QStringLiteral("mailto:") + AboutTexts::SupportAddress + QStringLiteral("?subject=Help"));
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace kiv
