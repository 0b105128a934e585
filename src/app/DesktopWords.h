#pragma once

#include "model/PlatformWords.h"
#include "state/StateTexts.h"

#include <QObject>
#include <QString>
#include <QtQml/qqmlregistration.h>

namespace quorva {

// The texts of the window that name the desktop (model/PlatformWords.h), translated; QML reads
// them as DesktopWords.tagline and so on. Made with the window's engine, after the
// translation is installed.
class DesktopWords : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON
    // One property a line, however long.
    // clang-format off
    Q_PROPERTY(QString tagline MEMBER m_tagline CONSTANT)
    Q_PROPERTY(QString pairHeading MEMBER m_pairHeading CONSTANT)
    Q_PROPERTY(QString pairButton MEMBER m_pairButton CONSTANT)
    Q_PROPERTY(QString disconnect MEMBER m_disconnect CONSTANT)
    Q_PROPERTY(QString disconnectQuestion MEMBER m_disconnectQuestion CONSTANT)
    Q_PROPERTY(QString backupFolderHeading MEMBER m_backupFolderHeading CONSTANT)
    Q_PROPERTY(QString backupHint MEMBER m_backupHint CONSTANT)
    Q_PROPERTY(QString explanation MEMBER m_explanation CONSTANT)
    Q_PROPERTY(QString launchAtLoginNote MEMBER m_launchAtLoginNote CONSTANT)
    Q_PROPERTY(QString privacyNote MEMBER m_privacyNote CONSTANT)
    Q_PROPERTY(QString firstReleaseNote MEMBER m_firstReleaseNote CONSTANT)
    // clang-format on

public:
    using QObject::QObject;

private:
    // An empty text (no backup hint on a Mac) stays empty: the window leaves its line out.
    static QString shown(const char* text) { return *text ? texts::platformText(text) : QString(); }

    QString m_tagline = shown(words::tagline);
    QString m_pairHeading = shown(words::pairHeading);
    QString m_pairButton = shown(words::pairButton);
    QString m_disconnect = shown(words::disconnect);
    QString m_disconnectQuestion = shown(words::disconnectQuestion);
    QString m_backupFolderHeading = shown(words::backupFolderHeading);
    QString m_backupHint = shown(words::backupHint);
    QString m_explanation = shown(words::explanation);
    QString m_launchAtLoginNote = shown(words::launchAtLoginNote);
    QString m_privacyNote = shown(words::privacyNote);
    QString m_firstReleaseNote = shown(words::firstReleaseNote);
};

} // namespace quorva
