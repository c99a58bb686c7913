#include "uLanguage.h"

#include "uExceptions.h"

#include <QCoreApplication>
#include <QEvent>
#include <QLibraryInfo>
#include <QLocale>

using namespace Qt::StringLiterals;

TLanguageDispatcher::TLanguageDispatcher(QObject* parent) : QObject(parent) {}

TLanguageDispatcher::~TLanguageDispatcher()
{
    RemoveTranslators();
}

void TLanguageDispatcher::SetActiveLanguage(int appLanguage)
{
    if (appLanguage != English && appLanguage != Spanish)
        throw Exception(tr("Invalid language index!", "stINVALIDLANGUAGE"));
    RemoveTranslators();
    const QLocale locale(appLanguage == Spanish ? QLocale::Spanish : QLocale::English);
    // The English table only carries plural forms; a missing table leaves the source texts.
    if (m_appTranslator.load(locale, u"horavant"_s, u"_"_s, u":/i18n"_s))
        QCoreApplication::installTranslator(&m_appTranslator);
    if (appLanguage != English
        && m_qtTranslator.load(locale, u"qtbase"_s, u"_"_s, QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(&m_qtTranslator);
    // Qt posts LanguageChange to the windows; deliver it now, so the forms show the new language
    // when this returns.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LanguageChange);

    const bool changed = appLanguage != m_activeLanguage;
    m_activeLanguage = appLanguage;
    if (changed)
        emit LanguageChanged(appLanguage);
}

void TLanguageDispatcher::RemoveTranslators()
{
    // Removing a translator that is not installed does nothing.
    QCoreApplication::removeTranslator(&m_appTranslator);
    QCoreApplication::removeTranslator(&m_qtTranslator);
}

QStringList TLanguageDispatcher::LanguageNames()
{
    return {u"English"_s, u"Español"_s};
}
