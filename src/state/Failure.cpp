#include "state/Failure.h"
#include "state/CaseNames.h"

#include "model/BridgeClientError.h"
#include "model/PlatformError.h"
#include "stores/FolderReference.h"

namespace quorva {

namespace {

using C = FailureCase;

QStringList wordingArguments(const Wording& wording)
{
    QStringList arguments{QString::fromStdString(wording.pattern)};
    for (const std::string& argument : wording.arguments)
        arguments.append(QString::fromStdString(argument));
    return arguments;
}

Failure clientFailure(const BridgeClientError& error)
{
    using E = BridgeClientError::Case;
    switch (error.kind()) {
    case E::server:
        return {C::serviceError,
                {QString::fromStdString(error.detail()), QString::number(error.status()),
                 QString::fromStdString(error.code().value_or(std::string()))},
                {}};
    case E::database:
        return {C::messagesDatabaseUnreadable, {QString::fromStdString(error.detail())}, {}};
    case E::invalidResponse:
        return {C::invalidResponse, {}, {}};
    case E::noBackupFound:
        return {C::noBackupFound, {}, {}};
    case E::encryptedBackup:
        return {C::encryptedBackup, {}, {}};
    case E::messagesDatabaseMissing:
        return {C::messagesDatabaseMissing, {}, {}};
    case E::backupAccessLost:
        return {C::backupAccessLost, {}, {}};
    case E::notPaired:
        return {C::notPaired, {}, {}};
    case E::backupBeingWritten:
        return {C::backupBeingWritten, {}, {}};
    case E::noChildSelected:
        break; // no longer raised: a child's iPhone is assigned, never selected
    }
    return {C::unexpected, {QString::fromStdString(error.description())}, {}};
}

} // namespace

QString failureName(FailureCase kind)
{
    return caseName(kind);
}

std::optional<FailureCase> failureCaseNamed(const QString& name)
{
    return caseNamed<FailureCase>(name);
}

QStringList partArguments(const Failure& part)
{
    if (part.kind != C::childFailed || part.parts.empty())
        return part.arguments;
    const Failure& inner = part.parts.front();
    return part.arguments.mid(0, 1) + QStringList{failureName(inner.kind)} + partArguments(inner);
}

std::optional<Failure> partOf(const QString& name, const QStringList& arguments)
{
    const std::optional<FailureCase> kind = failureCaseNamed(name);
    if (!kind)
        return std::nullopt;
    if (*kind != C::childFailed)
        return Failure{*kind, arguments, {}};
    std::optional<Failure> inner = partOf(arguments.value(1), arguments.mid(2));
    if (!inner)
        return std::nullopt;
    return Failure{C::childFailed, arguments.mid(0, 1), {std::move(*inner)}};
}

Failure failureOf(std::exception_ptr failure)
{
    try {
        std::rethrow_exception(failure);
    } catch (const BridgeClientError& error) {
        return clientFailure(error);
    } catch (const FolderUnreadable& error) {
        return {C::backupFolderUnreadable, wordingArguments(error.wording()), {}};
    } catch (const FolderAbsent& error) {
        return {C::backupFolderUnreachable, wordingArguments(error.wording()), {}};
    } catch (const PlatformError& error) {
        using S = PlatformError::Source;
        const FailureCase kind = error.source() == S::network  ? C::serviceUnreachable
                                 : error.source() == S::folder ? C::backupFolderUnreadable
                                                               : C::platform;
        return {kind, wordingArguments(error.wording()), {}};
    } catch (const std::exception& error) {
        return {C::unexpected, {QString::fromUtf8(error.what())}, {}};
    } catch (...) {
        return {C::unexpected, {}, {}};
    }
}

} // namespace quorva
