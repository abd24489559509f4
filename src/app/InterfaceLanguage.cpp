#include "app/InterfaceLanguage.h"

#include <QCoreApplication>
#include <QLibraryInfo>

namespace kiv {

QLocale interfaceLocale(const QStringList& uiLanguages)
{
    for (const QString& name : uiLanguages) {
        const QLocale locale(name);
        if (locale.language() == QLocale::English || locale.language() == QLocale::Chinese)
            return locale;
    }
    return QLocale(QLocale::Chinese, QLocale::China);
}

InterfaceTranslation::InterfaceTranslation(const QLocale& language)
{
    QLocale::setDefault(language);
    if (m_qt.load(language, QStringLiteral("qtbase"), QStringLiteral("_"),
                  QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(&m_qt);
    // The program's texts are written in Chinese; every other language reads them in English.
    if (language.language() != QLocale::Chinese && m_program.load(QStringLiteral(":/i18n/kivclock_en.qm")))
        QCoreApplication::installTranslator(&m_program);
}

InterfaceTranslation::~InterfaceTranslation()
{
    QCoreApplication::removeTranslator(&m_program);
    QCoreApplication::removeTranslator(&m_qt);
    QLocale::setDefault(QLocale::system());
}

} // namespace kiv
