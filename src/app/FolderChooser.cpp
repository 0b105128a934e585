#include "FolderChooser.h"

#include <QCoroSignal>
#include <QDir>
#include <QMetaMethod>
#include <QPointer>
#include <QProcessEnvironment>

#include <system_error>

namespace quorva {

namespace {

bool pathExists(const std::filesystem::path& path)
{
    std::error_code error;
    return std::filesystem::exists(path, error);
}

} // namespace

QCoro::Task<std::optional<std::filesystem::path>> FolderChooser::choose(FolderChooserRequest request)
{
    if (!isSignalConnected(QMetaMethod::fromSignal(&FolderChooser::requested)))
        co_return std::nullopt;
    const auto start = startingFolderFor(request);
    emit requested(request.title, request.message, request.confirmLabel,
                   start ? QUrl::fromLocalFile(QString::fromStdString(start->string())) : QUrl());
    const QUrl folder = co_await qCoro(this, &FolderChooser::finished);
    if (!folder.isLocalFile())
        co_return std::nullopt;
    co_return std::filesystem::path(folder.toLocalFile().toStdString());
}

decltype(BridgePlatform::chooseFolder) FolderChooser::asPlatformService()
{
    return [chooser = QPointer<FolderChooser>(this)](
               FolderChooserRequest request) -> QCoro::Task<std::optional<std::filesystem::path>> {
        if (!chooser)
            co_return std::nullopt;
        co_return co_await chooser->choose(std::move(request));
    };
}

void FolderChooser::complete(const QUrl& folder)
{
    emit finished(folder);
}

void FolderChooser::cancel()
{
    emit finished(QUrl());
}

std::vector<std::filesystem::path> knownBackupFolders(const std::filesystem::path& home)
{
    std::vector<std::filesystem::path> folders{home / "Library/Application Support/MobileSync/Backup"};
    const auto environment = QProcessEnvironment::systemEnvironment();
    // The desktop installer keeps them under the roaming profile, the store app under the profile.
    if (const QString appData = environment.value(QStringLiteral("APPDATA")); !appData.isEmpty())
        folders.push_back(std::filesystem::path(appData.toStdString()) / "Apple Computer/MobileSync/Backup");
    folders.push_back(home / "Apple/MobileSync/Backup");
    return folders;
}

std::optional<std::filesystem::path> startingFolderFor(const FolderChooserRequest& request)
{
    if (request.startingFolder && pathExists(*request.startingFolder))
        return request.startingFolder;
    for (const auto& folder : knownBackupFolders(QDir::homePath().toStdString()))
        if (pathExists(folder))
            return folder;
    return std::nullopt;
}

} // namespace quorva
