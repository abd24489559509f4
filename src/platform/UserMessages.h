#pragma once

#include <QString>

namespace kiv {

// The icon of a message box; the values are those of the message-box style bits.
enum class MessageIcon
{
    Critical = 16,
    Exclamation = 48,
    Information = 64,
};

// Shows a modal message to the user. Logic code reports through this interface so that tests can read
// exactly what a user would have been shown.
class UserMessages
{
public:
    virtual ~UserMessages() = default;
    virtual void show(const QString& text, const QString& title, MessageIcon icon) = 0;
};

} // namespace kiv
