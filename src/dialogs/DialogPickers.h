#pragma once

#include <QColor>
#include <QString>

#include <optional>

class QWidget;

namespace kiv {

// The modal choosers the settings dialog opens; tests hand in their own.
class DialogPickers
{
public:
    virtual ~DialogPickers() = default;
    // The colour picker: the chosen colour, or nothing when cancelled.
    virtual std::optional<QColor> pickColor(const QColor& initial, QWidget* owner) = 0;
    // The opacity dialog: the alpha to use, given the one to start at.
    virtual int pickAlpha(int start, bool onTop, QWidget* owner) = 0;
    // The open-file dialog: the chosen path, or "" when cancelled.
    virtual QString pickFile(const QString& title, const QString& filter, QWidget* owner) = 0;
};

// The choosers of the desktop: Qt's colour and file dialogs and the clock's own opacity dialog.
class QtDialogPickers final : public DialogPickers
{
public:
    std::optional<QColor> pickColor(const QColor& initial, QWidget* owner) override;
    int pickAlpha(int start, bool onTop, QWidget* owner) override;
    QString pickFile(const QString& title, const QString& filter, QWidget* owner) override;
};

} // namespace kiv
