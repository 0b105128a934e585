#include "stores/BackupBookmarkStore.h"

#include "model/BridgeClientError.h"
#include "model/PlatformError.h"
#include "stores/FolderReference.h"
#include "stores/Preferences.h"
#include "stores/StoresLogging.h"

namespace quorva {

BackupBookmarkStore::BackupBookmarkStore(Preferences preferences, QString key)
    : m_preferences(std::move(preferences)), m_key(std::move(key))
{
}

void BackupBookmarkStore::save(const std::filesystem::path& folder) const
{
    m_preferences.setValue(m_key, FolderReference::make(folder).encode());
}

std::filesystem::path BackupBookmarkStore::resolve() const
{
    const std::optional<QVariant> stored = m_preferences.value(m_key);
    if (!stored)
        throw BridgeClientError::backupAccessLost();
    // A value of another type fails to decode like any other unreadable form.
    const QByteArray bytes = stored->typeId() == QMetaType::QByteArray ? stored->toByteArray() : QByteArray();
    FolderResolution found = FolderReference::decode(bytes).resolve();
    if (found.stale)
        m_preferences.setValue(m_key, found.current.encode());
    return found.current.path;
}

bool BackupBookmarkStore::isStored() const
{
    return m_preferences.value(m_key).has_value();
}

void BackupBookmarkStore::clear() const
{
    try {
        m_preferences.remove(m_key);
    } catch (const PlatformError& error) {
        // Disconnecting must not fail half-way; the next folder choice replaces the value anyway.
        qCWarning(lcStores) << "the backup folder reference could not be removed:" << error.what();
    }
}

} // namespace quorva
