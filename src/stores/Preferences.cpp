#include "stores/Preferences.h"

#include "model/PlatformError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>

#include <filesystem>
#include <functional>

namespace quorva {

namespace {

class Settings : public QSettings {
public:
    Settings(const QString& organization, const QString& application)
        : QSettings(QSettings::NativeFormat, QSettings::UserScope, organization, application)
    {
    }
};

constexpr QFile::Permissions ownerOnlyFolder = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner;
constexpr QFile::Permissions ownerOnlyFile = QFile::ReadOwner | QFile::WriteOwner;

// QSettings writes through a temporary file that takes over the permissions of the file it
// replaces, but a first write would create a world-readable file. Creating the folders and an
// empty file owner-only beforehand keeps the folder path and message identifiers private from
// the first byte on.
void prepareOwnerOnlyFile(const QString& fileName)
{
    const QFileInfo file(fileName);
    if (file.exists())
        return;
    QStringList missing;
    for (QString folder = file.absolutePath(); !QFileInfo::exists(folder);) {
        missing.prepend(folder);
        const QString parent = QFileInfo(folder).path();
        if (parent == folder)
            break;
        folder = parent;
    }
    for (const QString& folder : missing)
        QDir().mkdir(folder, ownerOnlyFolder);
    QFile empty(fileName);
    // Losing a race to another process is fine: QSettings takes it from here either way.
    if (empty.open(QIODevice::WriteOnly | QIODevice::NewOnly, ownerOnlyFile))
        empty.close();
}

// A file that predates this code, or that someone loosened, is tightened on every write.
void restrictToOwner(const QString& fileName)
{
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::path path = QFile::encodeName(fileName).toStdString();
    const fs::perms current = fs::status(path, ec).permissions();
    if (ec)
        return;
    constexpr fs::perms others = fs::perms::group_all | fs::perms::others_all;
    if ((current & others) != fs::perms::none)
        fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write, fs::perm_options::replace, ec);
}

void write(Settings& settings, const QString& key, const std::function<void(QSettings&)>& change)
{
    const QString fileName = settings.fileName();
    prepareOwnerOnlyFile(fileName);
    const bool existed = settings.contains(key);
    const QVariant earlier = settings.value(key);
    change(settings);
    settings.sync();
    if (settings.status() != QSettings::NoError) {
        // QSettings keeps a failed change pending and would write it with some later change, and
        // this process would read it meanwhile: put the earlier value back.
        if (existed)
            settings.setValue(key, earlier);
        else
            settings.remove(key);
        throw PlatformError(
            Wording{QUORVA_TEXT("quorva::PlatformError", "The preferences file “%1” could not be written."),
                    {fileName.toStdString()}},
            "The preferences file could not be written.");
    }
    restrictToOwner(fileName);
}

} // namespace

Preferences::Preferences(QString organization, QString application)
    : m_organization(std::move(organization)), m_application(std::move(application))
{
}

std::optional<QVariant> Preferences::value(const QString& key) const
{
    const Settings settings(m_organization, m_application);
    if (!settings.contains(key))
        return std::nullopt;
    return settings.value(key);
}

void Preferences::setValue(const QString& key, const QVariant& value) const
{
    Settings settings(m_organization, m_application);
    write(settings, key, [&](QSettings& settings) { settings.setValue(key, value); });
}

void Preferences::remove(const QString& key) const
{
    Settings settings(m_organization, m_application);
    write(settings, key, [&](QSettings& settings) { settings.remove(key); });
}

QString Preferences::fileName() const
{
    return Settings(m_organization, m_application).fileName();
}

std::optional<QStringList> Preferences::stringList(const QString& key) const
{
    const std::optional<QVariant> stored = value(key);
    if (!stored)
        return std::nullopt;
    switch (stored->typeId()) {
    case QMetaType::QStringList:
        return stored->toStringList();
    case QMetaType::QString:
        // The native format on Linux (INI) writes a one-element list as a plain string.
        return QStringList{stored->toString()};
    case QMetaType::UnknownType:
        // ... and an empty list as an invalid value.
        return QStringList{};
    case QMetaType::QVariantList: {
        QStringList strings;
        for (const QVariant& element : stored->toList()) {
            if (element.typeId() != QMetaType::QString)
                return std::nullopt;
            strings.append(element.toString());
        }
        return strings;
    }
    default:
        return std::nullopt;
    }
}

std::optional<QByteArray> Preferences::bytes(const QString& key) const
{
    const std::optional<QVariant> stored = value(key);
    if (!stored || stored->typeId() != QMetaType::QByteArray)
        return std::nullopt;
    return stored->toByteArray();
}

std::optional<QString> Preferences::string(const QString& key) const
{
    const std::optional<QVariant> stored = value(key);
    if (!stored || stored->typeId() != QMetaType::QString)
        return std::nullopt;
    return stored->toString();
}

} // namespace quorva
