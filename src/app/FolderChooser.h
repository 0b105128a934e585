#pragma once

#include "state/BridgePlatform.h"

#include <QCoroTask>
#include <QObject>
#include <QString>
#include <QUrl>

#include <filesystem>
#include <optional>
#include <vector>

namespace quorva {

// Carries the state object's folder requests to the window's folder dialog and its answer
// back. The window connects to `requested` and calls complete() or cancel().
class FolderChooser : public QObject {
    Q_OBJECT
    // What to choose. The dialog has no place for it, so the window shows it beside its button.
    Q_PROPERTY(QString message READ message NOTIFY messageChanged)

public:
    explicit FolderChooser(QObject* parent = nullptr);

    [[nodiscard]] QString message() const { return m_message; }

    // Shows the dialog and waits for the user; nothing when cancelled or no window listens.
    QCoro::Task<std::optional<std::filesystem::path>> choose(FolderChooserRequest request);
    // The function the state object's platform services take; valid while this object lives.
    [[nodiscard]] decltype(BridgePlatform::chooseFolder) asPlatformService();

    Q_INVOKABLE void complete(const QUrl& folder);
    Q_INVOKABLE void cancel();

signals:
    // `chosenFolder`, when valid, is the folder chosen before: the dialog offers it as the
    // answer, so that confirming at once keeps it rather than a folder inside it.
    void requested(const QString& title, const QString& message, const QString& confirmLabel,
                   const QUrl& startingFolder, const QUrl& chosenFolder);
    void finished(const QUrl& folder); // empty when cancelled
    void messageChanged();

private:
    QUrl m_answer; // the last answer, read when finished() has been delivered
    QString m_message;
};

// Where the platforms keep device backups, most likely first; `home` is the user's home folder.
// None on Linux, where a backup goes wherever its maker was told to put it.
[[nodiscard]] std::vector<std::filesystem::path> knownBackupFolders(const std::filesystem::path& home);
// The folder the dialog opens in, the first that exists of: the folder chosen last, the
// request's own, a known backup folder; else the home folder (never the working folder).
[[nodiscard]] std::filesystem::path startingFolderFor(const FolderChooserRequest& request);

} // namespace quorva
