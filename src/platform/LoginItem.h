#pragma once

#include <QString>
#include <QStringList>

#include <filesystem>

namespace quorva {

// The application's own login item: a per-user XDG autostart entry
// `<autostart folder>/<app id>.desktop` that launches the desktop application at log-in.
class LoginItem {
public:
    // requiresApproval is part of the vocabulary but XDG autostart never asks for approval.
    enum class Status { enabled, requiresApproval, notRegistered, notFound };

    // `command`: program and arguments the entry runs; empty means `quorva-bridge` beside the
    // running executable.
    explicit LoginItem(std::filesystem::path autostartFolder = defaultAutostartFolder(),
                       QStringList command = {});

    // notFound when there is nothing to launch; notRegistered when the entry is missing,
    // hidden or disabled; enabled otherwise.
    [[nodiscard]] Status status() const;
    // Writes the entry. Throws PlatformError when the folder or the file cannot be written.
    void registerItem() const;
    // Removes the entry; a missing one is not an error. Throws PlatformError otherwise.
    void unregisterItem() const;

    [[nodiscard]] std::filesystem::path entryPath() const;
    // The command the entry runs, empty when the application cannot be found.
    [[nodiscard]] QStringList launchCommand() const;

    // $XDG_CONFIG_HOME/autostart, or ~/.config/autostart when that is unset or not absolute.
    [[nodiscard]] static std::filesystem::path defaultAutostartFolder();
    // An Exec= value that runs exactly these arguments, quoted and escaped for desktop entries.
    [[nodiscard]] static QString execValue(const QStringList& arguments);

private:
    std::filesystem::path m_folder;
    QStringList m_command;
};

} // namespace quorva
