#pragma once

#include <QLocale>
#include <QStringList>
#include <QTranslator>

namespace quorva {

// The language a person reads Bridge in: the first of their UI languages that Bridge has a
// catalogue for, and English, in which it is written, when English comes first or none has one.
// While it lives, its catalogue is installed and its locale is the default, so that numbers and
// dates are written as the words around them are: a German text with German numbers, an
// English one in English even on a German desktop.
class UiLanguage {
public:
    // Needs the application object; the person's own languages unless told otherwise.
    explicit UiLanguage(const QStringList& uiLanguages = QLocale::system().uiLanguages());
    ~UiLanguage();
    UiLanguage(const UiLanguage&) = delete;
    UiLanguage& operator=(const UiLanguage&) = delete;

    // The locale numbers and dates are written in.
    [[nodiscard]] QLocale locale() const { return m_locale; }

private:
    QTranslator m_translator;
    bool m_installed = false;
    QLocale m_previousDefault;
    QLocale m_locale;
};

} // namespace quorva
