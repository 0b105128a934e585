#include "platform/UiLanguage.h"

#include <QCoreApplication>

namespace quorva {

UiLanguage::UiLanguage(const QStringList& uiLanguages)
{
    QLocale::Language language = QLocale::English;
    for (const QString& name : uiLanguages) {
        const QLocale wanted(name);
        if (wanted.language() == QLocale::English || wanted.language() == QLocale::C)
            break;
        if (m_translator.load(wanted, QStringLiteral("quorva"), QStringLiteral("_"),
                              QStringLiteral(":/i18n"))) {
            m_installed = QCoreApplication::installTranslator(&m_translator);
            if (m_installed)
                language = QLocale(m_translator.language()).language();
            break;
        }
    }
    // English is the language the texts are written in; its catalogue holds only the forms of
    // texts with a count ("1 message", "2 messages").
    if (language == QLocale::English && m_translator.load(QLocale(QLocale::English), QStringLiteral("quorva"),
                                                          QStringLiteral("_"), QStringLiteral(":/i18n")))
        m_installed = QCoreApplication::installTranslator(&m_translator);
    // The person's own locale where it speaks the language of the texts (an Austrian's German,
    // a Briton's English), else that language's own.
    const QLocale system = QLocale::system();
    m_locale = system.language() == language ? system : QLocale(language);
    QLocale::setDefault(m_locale);
}

UiLanguage::~UiLanguage()
{
    if (m_installed)
        QCoreApplication::removeTranslator(&m_translator);
    QLocale::setDefault(m_previousDefault);
}

} // namespace quorva
