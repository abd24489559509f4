#pragma once

#include <QLocale>
#include <QStringList>
#include <QTranslator>

namespace kiv {

// The language of the interface for a user whose preferred interface languages are `uiLanguages`, best first
// (QLocale::uiLanguages(): "en-GB", "zh-CN", "de-DE", ...): English when an English entry comes before any
// Chinese one, else Chinese, the program's own language. The locale is that of the entry chosen (its territory
// and script), so that Qt's own texts and the day names follow the user's variant.
QLocale interfaceLocale(const QStringList& uiLanguages);

// The interface in the language `language` (from interfaceLocale()) while the object lives: Qt's own texts (the
// colour and file pickers, the message boxes' buttons) and, unless the language is Chinese, the program's English
// texts are installed on the application, and `language` becomes the default locale, which gives the clock face
// its day names.
class InterfaceTranslation final
{
public:
    explicit InterfaceTranslation(const QLocale& language);
    ~InterfaceTranslation();
    InterfaceTranslation(const InterfaceTranslation&) = delete;
    InterfaceTranslation& operator=(const InterfaceTranslation&) = delete;

private:
    QTranslator m_qt;
    QTranslator m_program;
};

} // namespace kiv
