#include "dialogs/DialogPickers.h"

#include "dialogs/SmallDialogs.h"

#include <QColorDialog>
#include <QFileDialog>

namespace kiv {

std::optional<QColor> QtDialogPickers::pickColor(const QColor& initial, QWidget* owner)
{
    const QColor chosen = QColorDialog::getColor(initial, owner);
    return chosen.isValid() ? std::optional<QColor>(chosen) : std::nullopt;
}

int QtDialogPickers::pickAlpha(int start, bool onTop, QWidget* owner)
{
    return AlphaDialog::ask(start, onTop, owner);
}

QString QtDialogPickers::pickFile(const QString& title, const QString& filter, QWidget* owner)
{
    return QFileDialog::getOpenFileName(owner, title, QString(), filter);
}

} // namespace kiv
