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

public:
    using QObject::QObject;

    // Shows the dialog and waits for the user; nothing when cancelled or no window listens.
    QCoro::Task<std::optional<std::filesystem::path>> choose(FolderChooserRequest request);
    // The function the state object's platform services take; valid while this object lives.
    [[nodiscard]] decltype(BridgePlatform::chooseFolder) asPlatformService();

    Q_INVOKABLE void complete(const QUrl& folder);
    Q_INVOKABLE void cancel();

signals:
    void requested(const QString& title, const QString& message, const QString& confirmLabel,
                   const QUrl& startingFolder);
    void finished(const QUrl& folder); // empty when cancelled
};

// Where the platforms keep device backups, most likely first; `home` is the user's home folder.
[[nodiscard]] std::vector<std::filesystem::path> knownBackupFolders(const std::filesystem::path& home);
// The folder the dialog opens in: the request's own when it exists, else the first known
// backup folder that exists, else nothing (the dialog's default).
[[nodiscard]] std::optional<std::filesystem::path> startingFolderFor(const FolderChooserRequest& request);

} // namespace quorva
