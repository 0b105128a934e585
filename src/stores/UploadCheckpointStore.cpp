#include "stores/UploadCheckpointStore.h"

#include "model/PlatformError.h"
#include "stores/Preferences.h"
#include "stores/StoresLogging.h"

#include <QSet>

#include <algorithm>

namespace quorva {

namespace {

QString devicesGroup(const QString& key)
{
    return key + QStringLiteral("-by-device");
}

QString completedBackupKey(const QString& key)
{
    return key + QStringLiteral("-completed-backup");
}

} // namespace

UploadCheckpointStore::UploadCheckpointStore(Preferences preferences, QString key, int maximumCount)
    : m_preferences(std::move(preferences)), m_key(std::move(key)), m_maximumCount(maximumCount)
{
}

QStringList UploadCheckpointStore::listUnder(const QString& key) const
{
    return key.isEmpty() ? QStringList{} : m_preferences.stringList(key).value_or(QStringList{});
}

UploadCheckpointStore UploadCheckpointStore::forDevice(const std::string& deviceId) const
{
    // Percent-encoded: an identifier taken from a folder name may hold a slash, which would
    // otherwise nest preference groups.
    const QString name = QString::fromLatin1(QByteArray::fromStdString(deviceId).toPercentEncoding());
    UploadCheckpointStore store(m_preferences, devicesGroup(m_key) + QLatin1Char('/') + name, m_maximumCount);
    store.m_earlierKey = m_key;
    return store;
}

bool UploadCheckpointStore::contains(const std::string& id) const
{
    const QString identifier = QString::fromStdString(id);
    return listUnder(m_key).contains(identifier) || listUnder(m_earlierKey).contains(identifier);
}

void UploadCheckpointStore::record(const std::vector<std::string>& ids,
                                   const std::vector<ScannedMessage>& window) const
{
    QStringList all = listUnder(m_key);
    QSet<QString> known(all.cbegin(), all.cend());
    for (const std::string& id : ids) {
        QString identifier = QString::fromStdString(id);
        // Each identifier once, also when the caller repeats one.
        if (!known.contains(identifier)) {
            known.insert(identifier);
            all.append(std::move(identifier));
        }
    }
    // An identifier dropped while its message is still in the window is sent again by the next
    // scan, and the order of the list is no guide: a cycle records its newest messages first.
    const qsizetype limit = std::max(0, m_maximumCount);
    if (qsizetype excess = all.size() - limit; excess > 0) {
        QSet<QString> current;
        for (const ScannedMessage& candidate : window)
            current.insert(QString::fromStdString(candidate.id));
        QStringList kept;
        kept.reserve(limit);
        for (QString& identifier : all) {
            if (excess > 0 && !current.contains(identifier))
                --excess;
            else
                kept.append(std::move(identifier));
        }
        kept.remove(0, excess); // a window larger than the list: its oldest go too
        all = std::move(kept);
    }
    // Written even when nothing changed: this also replaces a value of the wrong type.
    m_preferences.setValue(m_key, all);
}

void UploadCheckpointStore::clear() const
{
    try {
        m_preferences.remove(m_key);
        m_preferences.remove(completedBackupKey(m_key));
        if (m_earlierKey.isEmpty())
            m_preferences.remove(devicesGroup(m_key));
    } catch (const PlatformError& error) {
        // Disconnecting must not fail half-way; at worst some messages are not uploaded again.
        qCWarning(lcStores) << "the upload checkpoint could not be removed:" << error.what();
    }
}

std::optional<std::string> UploadCheckpointStore::completedBackup() const
{
    const auto stored = m_preferences.string(completedBackupKey(m_key));
    return stored ? std::optional(stored->toStdString()) : std::nullopt;
}

void UploadCheckpointStore::recordCompletedBackup(const std::string& fingerprint) const
{
    m_preferences.setValue(completedBackupKey(m_key), QString::fromStdString(fingerprint));
}

std::vector<std::string> UploadCheckpointStore::identifiers() const
{
    const QStringList stored = listUnder(m_key);
    std::vector<std::string> result;
    result.reserve(static_cast<std::size_t>(stored.size()));
    for (const QString& id : stored)
        result.push_back(id.toStdString());
    return result;
}

std::vector<ScannedMessage>
UploadCheckpointStore::notYetRecorded(const std::vector<ScannedMessage>& candidates) const
{
    const QStringList stored = listUnder(m_key) + listUnder(m_earlierKey);
    const QSet<QString> recorded(stored.cbegin(), stored.cend());
    std::vector<ScannedMessage> fresh;
    std::copy_if(candidates.cbegin(), candidates.cend(), std::back_inserter(fresh),
                 [&](const ScannedMessage& candidate) {
                     return !recorded.contains(QString::fromStdString(candidate.id));
                 });
    return fresh;
}

} // namespace quorva
