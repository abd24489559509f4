#pragma once

#include "platform/AlarmServices.h"

#include <QUrl>

namespace kiv {

// How a text is opened: an existing file or folder as a file URL, a program found on the search path as a
// program, a text with a scheme as that address, anything else that looks like a host as a web address.
struct OpenTarget
{
    enum Kind
    {
        Nothing,
        File,
        Program,
        Address,
    };
    Kind kind = Nothing;
    QString program;
    QUrl url;
};

OpenTarget resolveOpenTarget(const QString& text);

// Opens files, documents and addresses with the desktop's default handler, and starts programs.
class DesktopOpener final : public DocumentOpener
{
public:
    void open(const QString& target) override;
};

} // namespace kiv
