#pragma once

#include <QDateTime>
#include <QLocale>
#include <QObject>
#include <QString>
#include <QtQml/qqmlregistration.h>

namespace quorva {

// How the window writes dates: the locale's abbreviated date with a shortened time, as the
// user's locale writes them (for example "Dec 6, 2025, 3:04 PM" in American English).
[[nodiscard]] QString abbreviatedDateTime(const QDateTime& when, const QLocale& locale = QLocale());

// The same for QML, where an absent instant arrives as an invalid date.
class Formats : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON

public:
    using QObject::QObject;

    // Empty for an invalid date, so a view can tell "no date" from a date.
    Q_INVOKABLE [[nodiscard]] QString abbreviatedDateTime(const QDateTime& when) const;
    // When a backup was made, as a parent weighs it: "today, 15:54", "yesterday, 21:02", or the
    // day and how long ago ("17 Nov, 21 days ago"). Empty for an invalid date.
    Q_INVOKABLE [[nodiscard]] QString backupAge(const QDateTime& when) const;
};

[[nodiscard]] QString backupAge(const QDateTime& when, const QDateTime& now,
                                const QLocale& locale = QLocale());

} // namespace quorva
