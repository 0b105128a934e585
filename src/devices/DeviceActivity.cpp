#include "devices/DeviceActivity.h"

#include <array>
#include <utility>

namespace quorva {

namespace {

using Stage = DeviceActivity::Stage;
using Refusal = DeviceActivity::Refusal;
using Result = BackupRunOutcome::Result;
using Trust = TrustOutcome::Result;

constexpr std::array<std::pair<Stage, const char*>, 8> stages{{
    {Stage::none, "none"},
    {Stage::notAnswering, "notAnswering"},
    {Stage::waitingForPasscode, "waitingForPasscode"},
    {Stage::copying, "copying"},
    {Stage::finished, "finished"},
    {Stage::failed, "failed"},
    {Stage::refused, "refused"},
    {Stage::trust, "trust"},
}};
constexpr std::array<std::pair<Result, const char*>, 11> results{{
    {Result::finished, "finished"},
    {Result::notFinished, "notFinished"},
    {Result::locked, "locked"},
    {Result::notReached, "notReached"},
    {Result::unplugged, "unplugged"},
    {Result::folderMissing, "folderMissing"},
    {Result::noDiskSpace, "noDiskSpace"},
    {Result::stalled, "stalled"},
    {Result::failed, "failed"},
    {Result::toolMissing, "toolMissing"},
    {Result::cancelled, "cancelled"},
}};
constexpr std::array<std::pair<Refusal, const char*>, 5> refusals{{
    {Refusal::notADeviceId, "notADeviceId"},
    {Refusal::notAssigned, "notAssigned"},
    {Refusal::notConnected, "notConnected"},
    {Refusal::noFolderChosen, "noFolderChosen"},
    {Refusal::mustWait, "mustWait"},
}};
constexpr std::array<std::pair<Trust, const char*>, 7> trusts{{
    {Trust::trusted, "trusted"},
    {Trust::unlockFirst, "unlockFirst"},
    {Trust::denied, "denied"},
    {Trust::waitingForAnswer, "waitingForAnswer"},
    {Trust::pairAgain, "pairAgain"},
    {Trust::notConnected, "notConnected"},
    {Trust::failed, "failed"},
}};

template <typename Table, typename Value> QString nameIn(const Table& table, Value value)
{
    for (const auto& [each, name] : table)
        if (each == value)
            return QString::fromLatin1(name);
    return {};
}

template <typename Table>
auto valueIn(const Table& table, const QString& name) -> std::optional<typename Table::value_type::first_type>
{
    for (const auto& [each, known] : table)
        if (name == QLatin1String(known))
            return each;
    return std::nullopt;
}

} // namespace

QString DeviceActivity::stageName(Stage stage)
{
    return nameIn(stages, stage);
}

QString DeviceActivity::resultName(BackupRunOutcome::Result result)
{
    return nameIn(results, result);
}

QString DeviceActivity::refusalName(Refusal refusal)
{
    return nameIn(refusals, refusal);
}

QString DeviceActivity::trustName(TrustOutcome::Result result)
{
    return nameIn(trusts, result);
}

QStringList DeviceActivity::toArguments() const
{
    QString detail;
    QString figure;
    switch (stage) {
    case Stage::copying:
        figure = QString::number(percent);
        break;
    case Stage::failed:
        detail = resultName(result);
        figure = exitStatus ? QString::number(*exitStatus) : QString();
        break;
    case Stage::refused:
        detail = refusalName(refusal);
        break;
    case Stage::trust:
        detail = trustName(trust);
        figure = willEncrypt ? QStringLiteral("1") : QStringLiteral("0");
        break;
    default:
        break;
    }
    return {deviceName, stageName(stage), detail, figure};
}

std::optional<DeviceActivity> DeviceActivity::fromArguments(const QStringList& arguments)
{
    if (arguments.size() != 4)
        return std::nullopt;
    const std::optional<Stage> stage = valueIn(stages, arguments.at(1));
    if (!stage)
        return std::nullopt;
    DeviceActivity activity{.stage = *stage, .deviceName = arguments.at(0)};
    const QString& detail = arguments.at(2);
    bool numeric = false;
    const int figure = arguments.at(3).toInt(&numeric);
    switch (*stage) {
    case Stage::copying:
        activity.percent = numeric ? figure : 0;
        break;
    case Stage::failed:
        activity.result = valueIn(results, detail).value_or(Result::failed);
        if (numeric)
            activity.exitStatus = figure;
        break;
    case Stage::refused:
        activity.refusal = valueIn(refusals, detail).value_or(Refusal::notConnected);
        break;
    case Stage::trust:
        activity.trust = valueIn(trusts, detail).value_or(Trust::failed);
        activity.willEncrypt = numeric && figure == 1;
        break;
    default:
        break;
    }
    return activity;
}

DeviceActivity DeviceActivity::ended(QString deviceName, const BackupRunOutcome& outcome)
{
    using R = BackupRunOutcome::Result;
    if (outcome.result == R::cancelled)
        return {}; // the parent's own doing: nothing to tell
    if (outcome.result == R::finished)
        return {.stage = Stage::finished, .deviceName = std::move(deviceName), .percent = outcome.percent};
    return {.stage = Stage::failed,
            .deviceName = std::move(deviceName),
            .percent = outcome.percent,
            .result = outcome.result,
            .exitStatus = outcome.exitStatus};
}

DeviceActivity DeviceActivity::asked(QString deviceName, const TrustOutcome& outcome)
{
    return {.stage = Stage::trust,
            .deviceName = std::move(deviceName),
            .trust = outcome.result,
            .willEncrypt =
                outcome.result == TrustOutcome::Result::trusted && outcome.willEncrypt.value_or(false)};
}

} // namespace quorva
