#include "stores/UploadCheckpointStore.h"

#include "model/PlatformError.h"
#include "stores/Preferences.h"
#include "stores/StoresLogging.h"

#include <QSet>

#include <algorithm>

namespace quorva {

namespace {

QStringList storedIdentifiers(const QString& key)
{
    return Preferences::stringList(key).value_or(QStringList{});
}

} // namespace

UploadCheckpointStore::UploadCheckpointStore(QString key, int maximumCount)
    : m_key(std::move(key)), m_maximumCount(maximumCount)
{
}

bool UploadCheckpointStore::contains(const std::string& id) const
{
    return storedIdentifiers(m_key).contains(QString::fromStdString(id));
}

void UploadCheckpointStore::record(const std::vector<std::string>& ids) const
{
    QStringList all = storedIdentifiers(m_key);
    QSet<QString> known(all.cbegin(), all.cend());
    for (const std::string& id : ids) {
        QString identifier = QString::fromStdString(id);
        // Each identifier once, also when the caller repeats one.
        if (!known.contains(identifier)) {
            known.insert(identifier);
            all.append(std::move(identifier));
        }
    }
    const qsizetype limit = std::max(0, m_maximumCount);
    if (all.size() > limit)
        all.remove(0, all.size() - limit);
    // Written even when nothing changed: this also replaces a value of the wrong type.
    Preferences::setValue(m_key, all);
}

void UploadCheckpointStore::clear() const
{
    try {
        Preferences::remove(m_key);
    } catch (const PlatformError& error) {
        // Disconnecting must not fail half-way; at worst some messages are not uploaded again.
        qCWarning(lcStores) << "the upload checkpoint could not be removed:" << error.what();
    }
}

std::vector<std::string> UploadCheckpointStore::identifiers() const
{
    const QStringList stored = storedIdentifiers(m_key);
    std::vector<std::string> result;
    result.reserve(static_cast<std::size_t>(stored.size()));
    for (const QString& id : stored)
        result.push_back(id.toStdString());
    return result;
}

std::vector<ScannedMessage>
UploadCheckpointStore::notYetRecorded(const std::vector<ScannedMessage>& candidates) const
{
    const QStringList stored = storedIdentifiers(m_key);
    const QSet<QString> recorded(stored.cbegin(), stored.cend());
    std::vector<ScannedMessage> fresh;
    std::copy_if(candidates.cbegin(), candidates.cend(), std::back_inserter(fresh),
                 [&](const ScannedMessage& candidate) {
                     return !recorded.contains(QString::fromStdString(candidate.id));
                 });
    return fresh;
}

} // namespace quorva
