#pragma once

#include <QDialog>

#include <functional>
#include <memory>

namespace Ui {
class FrmAlpha;
class FrmAbout;
} // namespace Ui

class QLabel;

namespace kiv {

// The opacity dialog: sets the alpha byte of a colour just picked.
class AlphaDialog final : public QDialog
{
    Q_OBJECT

public:
    AlphaDialog(int startAlpha, bool onTop, QWidget* parent = nullptr);
    ~AlphaDialog() override;

    // The value of the bar on OK; the start value when the dialog was closed by its frame.
    int chosenAlpha() const { return m_alpha; }

    // Shows the dialog modally and returns the alpha to use.
    static int ask(int startAlpha, bool onTop, QWidget* parent);

private:
    std::unique_ptr<Ui::FrmAlpha> m_ui;
    int m_alpha;
};

namespace AboutTexts {
inline const QString WebSite = QStringLiteral("https://kivclock.org/");
inline const QString SupportAddress = QStringLiteral("support@kivclock.org");
} // namespace AboutTexts

// The about box: the version, a line about the clock, a legal notice and two links.
class AboutDialog final : public QDialog
{
    Q_OBJECT

public:
    // `openUrl` opens a link (the desktop's handler by default).
    AboutDialog(const QString& version, std::function<void(const QString&)> openUrl, QWidget* parent = nullptr);
    ~AboutDialog() override;

    QString aboutText() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void underline(QLabel* label, bool on);

    std::unique_ptr<Ui::FrmAbout> m_ui;
    std::function<void(const QString&)> m_openUrl;
};

} // namespace kiv
