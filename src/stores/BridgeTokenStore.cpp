#include "stores/BridgeTokenStore.h"

#include "stores/SecretServiceState.h"
#include "stores/StoresLogging.h"

#include <QCoroSignal>
#include <qt6keychain/keychain.h>

namespace quorva {

namespace {

constexpr const char* kRefused = "The secret store refused to keep the token.";

// Jobs keep their default autoDelete: a job must outlive the platform call it started even when
// the awaiting coroutine is gone, and the queued resumption of `finished` runs before the
// deferred delete, so the job is still there to be asked for its result.
template <typename Job> Job* makeJob(const QString& service, const QString& account)
{
    auto* job = new Job(service);
    job->setKey(account);
    job->setInsecureFallback(false);
    return job;
}

QCoro::Task<> finished(QKeychain::Job* job)
{
    job->start();
    co_await qCoro(job, &QKeychain::Job::finished);
}

// Takes the names by value: the coroutine must not depend on the store outliving it.
// Whether the item is gone. A locked store deletes nothing, yet answers as if it had: only an
// unlocked one is taken at its word.
QCoro::Task<bool> removeItem(QString service, QString account)
{
    auto* job = makeJob<QKeychain::DeletePasswordJob>(service, account);
    co_await finished(job);
    const bool answered = job->error() == QKeychain::NoError || job->error() == QKeychain::EntryNotFound;
    if (!answered)
        qCDebug(lcStores) << "keychain delete failed:" << job->error() << job->errorString();
    if (co_await secretStoreIsLocked()) {
        qCDebug(lcStores) << "keychain delete: the secret store is locked";
        co_return false;
    }
    co_return answered;
}

} // namespace

BridgeTokenStore::BridgeTokenStore(QString service, QString account)
    : m_service(std::move(service)), m_account(std::move(account))
{
}

QCoro::Task<TokenLookup> BridgeTokenStore::read() const
{
    auto* job = makeJob<QKeychain::ReadPasswordJob>(m_service, m_account);
    co_await finished(job);
    if (job->error() == QKeychain::EntryNotFound) {
        // A locked collection answers "not found" as well: only an unlocked one can say so.
        if (co_await secretStoreIsLocked()) {
            qCDebug(lcStores) << "keychain read: the secret store is locked";
            co_return TokenLookup{.token = std::nullopt, .storeUnavailable = true};
        }
        co_return TokenLookup{};
    }
    if (job->error() != QKeychain::NoError) {
        qCDebug(lcStores) << "keychain read failed:" << job->error() << job->errorString();
        co_return TokenLookup{.token = std::nullopt, .storeUnavailable = true};
    }
    const QByteArray bytes = job->binaryData();
    if (!bytes.isValidUtf8()) {
        qCDebug(lcStores) << "keychain item is not UTF-8; treated as absent";
        co_return TokenLookup{};
    }
    co_return TokenLookup{.token = std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()))};
}

QCoro::Task<> BridgeTokenStore::save(std::string token) const
{
    // Stored bytes that are not UTF-8 would read back as "no token" and silently unpair.
    const QByteArray bytes(token.data(), static_cast<qsizetype>(token.size()));
    if (!bytes.isValidUtf8())
        throw SecretStoreRefusal(kRefused);

    // Copies: the store need not outlive the coroutine.
    const QString service = m_service;
    const QString account = m_account;
    // Deleting first also removes an item another client stored in text form, which a read
    // would otherwise still prefer to ours.
    co_await removeItem(service, account);

    auto* job = makeJob<QKeychain::WritePasswordJob>(service, account);
    job->setBinaryData(bytes);
    co_await finished(job);
    if (job->error() != QKeychain::NoError) {
        qCDebug(lcStores) << "keychain write failed:" << job->error() << job->errorString();
        throw SecretStoreRefusal(kRefused);
    }
}

QCoro::Task<> BridgeTokenStore::remove() const
{
    co_await removeItem(m_service, m_account);
}

QCoro::Task<bool> BridgeTokenStore::forget() const
{
    return removeItem(m_service, m_account);
}

} // namespace quorva
