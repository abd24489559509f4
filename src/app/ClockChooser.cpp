#include "app/ClockChooser.h"

#include "core/TextUtils.h"
#include "ui_ClockChooser.h"

namespace kiv {

ClockChooser::ClockChooser(const QStringList& clockNames, QWidget* parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::FrmDefault>())
{
    m_ui->setupUi(this);
    m_ui->CombClocks->addItems(clockNames);
    m_ui->CombClocks->setCurrentIndex(0);
    connect(m_ui->CmdOK, &QPushButton::clicked, this, &QDialog::accept);
}

ClockChooser::~ClockChooser() = default;

QString ClockChooser::chosenName() const
{
    return CleanString(m_ui->CombClocks->currentText());
}

QString ClockChooser::choose(const QStringList& clockNames)
{
    ClockChooser chooser(clockNames);
    chooser.exec();
    return chooser.chosenName();
}

} // namespace kiv
