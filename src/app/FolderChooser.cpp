#include "FolderChooser.h"

#include "platform/WhileAlive.h"
#include "state/StateTexts.h"

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

FolderChooser::FolderChooser(QObject* parent) : QObject(parent), m_message(texts::chooserMessage()) {}

QCoro::Task<std::optional<std::filesystem::path>> FolderChooser::choose(FolderChooserRequest request)
{
    if (!isSignalConnected(QMetaMethod::fromSignal(&FolderChooser::requested)))
        co_return std::nullopt;
    if (m_message != request.message) {
        m_message = request.message;
        emit messageChanged();
    }
    const auto start = startingFolderFor(request);
    QUrl chosen;
    if (request.lastChosenFolder && pathExists(*request.lastChosenFolder))
        chosen = QUrl::fromLocalFile(QString::fromStdString(request.lastChosenFolder->string()));
    emit requested(request.title, request.message, request.confirmLabel,
                   QUrl::fromLocalFile(QString::fromStdString(start.string())), chosen);
    // A chooser that goes with its window answers nothing.
    QCoro::Task<> answered = nextSignal(this, &FolderChooser::finished);
    if (!co_await whileAlive(this, std::move(answered)))
        co_return std::nullopt;
    const QUrl folder = m_answer;
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
    m_answer = folder;
    emit finished(folder);
}

void FolderChooser::cancel()
{
    m_answer = QUrl();
    emit finished(QUrl());
}

std::vector<std::filesystem::path> knownBackupFolders([[maybe_unused]] const std::filesystem::path& home)
{
#ifdef Q_OS_LINUX
    return {};
#else
    std::vector<std::filesystem::path> folders{home / "Library/Application Support/MobileSync/Backup"};
    const auto environment = QProcessEnvironment::systemEnvironment();
    // The desktop installer keeps them under the roaming profile, the store app under the profile.
    if (const QString appData = environment.value(QStringLiteral("APPDATA")); !appData.isEmpty())
        folders.push_back(std::filesystem::path(appData.toStdString()) / "Apple Computer/MobileSync/Backup");
    folders.push_back(home / "Apple/MobileSync/Backup");
    return folders;
#endif
}

std::filesystem::path startingFolderFor(const FolderChooserRequest& request)
{
    const std::filesystem::path home = QDir::homePath().toStdString();
    std::vector<std::filesystem::path> candidates;
    for (const auto& folder : {request.lastChosenFolder, request.startingFolder})
        if (folder)
            candidates.push_back(*folder);
    for (auto& folder : knownBackupFolders(home))
        candidates.push_back(std::move(folder));
    for (const auto& folder : candidates)
        if (pathExists(folder))
            return folder;
    return home;
}

} // namespace quorva
