#pragma once

#include "platform/UserMessages.h"

namespace kiv {

// Message boxes with QMessageBox.
class QtUserMessages final : public UserMessages
{
public:
    void show(const QString& text, const QString& title, MessageIcon icon) override;
};

} // namespace kiv
