#include "platform/linux/QtUserMessages.h"

#include <QMessageBox>

namespace kiv {

void QtUserMessages::show(const QString& text, const QString& title, MessageIcon icon)
{
    QMessageBox::Icon boxIcon = QMessageBox::Information;
    if (icon == MessageIcon::Critical)
        boxIcon = QMessageBox::Critical;
    else if (icon == MessageIcon::Exclamation)
        boxIcon = QMessageBox::Warning;
    QMessageBox box(boxIcon, title, text, QMessageBox::Ok);
    box.setWindowFlag(Qt::WindowStaysOnTopHint);
    box.exec();
}

} // namespace kiv
