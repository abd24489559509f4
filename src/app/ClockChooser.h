#pragma once

#include <QDialog>
#include <QStringList>

#include <memory>

namespace Ui {
class FrmDefault;
}

namespace kiv {

// The start-up chooser: which clock to run when no name was given and named clocks exist.
class ClockChooser final : public QDialog
{
    Q_OBJECT

public:
    explicit ClockChooser(const QStringList& clockNames, QWidget* parent = nullptr);
    ~ClockChooser() override;

    // The clock selected in the list; closing the dialog any way yields it ("Default" unless changed).
    QString chosenName() const;

    // Shows the chooser modally and returns the chosen name.
    static QString choose(const QStringList& clockNames);

private:
    std::unique_ptr<Ui::FrmDefault> m_ui;
};

} // namespace kiv
