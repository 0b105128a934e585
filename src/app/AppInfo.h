#pragma once

#include <QObject>
#include <QString>
#include <QUrl>
#include <QtQml/qqmlregistration.h>

namespace quorva {

// What the About window and the Help menu say of the application: its version and licence, as
// packaged, and the help page the AppStream metainfo names.
class AppInfo : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON
    // clang-format off
    Q_PROPERTY(QString version READ version CONSTANT)
    Q_PROPERTY(QUrl helpPage READ helpPage CONSTANT)
    Q_PROPERTY(QString licence READ licence CONSTANT)
    // clang-format on

public:
    using QObject::QObject;

    [[nodiscard]] static QString version();
    [[nodiscard]] static QUrl helpPage();
    [[nodiscard]] QString licence() const;

    // In the desktop's browser.
    Q_INVOKABLE void openHelpPage() const;
};

} // namespace quorva
