#include "BridgeEndpoints.h"

#include "RequestValidation.h"
#include "ServiceError.h"
#include "api/WireEncoding.h"
#include "model/Iso8601.h"

#include <QByteArray>
#include <QRandomGenerator>
#include <QThread>

#include <stdexcept>

namespace quorva::devservice {
namespace {

using nlohmann::json;

// Lowercase hex of `bytes` bytes from the system's cryptographically secure generator.
std::string randomHex(std::size_t bytes)
{
    QByteArray raw(static_cast<qsizetype>(bytes), Qt::Uninitialized);
    for (char& byte : raw)
        byte = static_cast<char>(QRandomGenerator::system()->generate());
    return raw.toHex().toStdString();
}

// A fresh identifier such as "brg_3f9a…": the prefix names the kind of record.
std::string newIdentifier(const char* prefix)
{
    return prefix + ("_" + randomHex(12));
}

json orNull(const std::optional<std::string>& value)
{
    return value ? json(*value) : json(nullptr);
}

json orNull(const std::optional<Instant>& value)
{
    return value ? json(formatInternetDateTime(*value)) : json(nullptr);
}

json toJson(const BridgeDevice& d)
{
    return {{"id", d.id},
            {"childId", d.childId},
            {"externalDeviceId", d.externalDeviceId},
            {"deviceName", orNull(d.deviceName)},
            {"sourceType", d.sourceType},
            {"lastScanAt", orNull(d.lastScanAt)},
            {"lastIngestAt", orNull(d.lastIngestAt)}};
}

json toJson(const BridgeIngestResult& r)
{
    json o = {{"clientItemId", r.clientItemId}, {"processStatus", r.processStatus}};
    if (r.alertCreated)
        o["alertCreated"] = *r.alertCreated;
    if (r.alertId)
        o["alertId"] = *r.alertId;
    return o;
}

ServiceError unauthorized()
{
    return {401, "unauthorized", "The bridge token is missing, expired or not valid."};
}

} // namespace

BridgeEndpoints::BridgeEndpoints(const DevServiceConfig& config)
    : m_tokenLifetime(config.tokenLifetime), m_faults(config.faults)
{
    for (const auto& code : config.pairingCodes) {
        const std::string normalised = normalisePairingCode(code);
        if (normalised.empty())
            throw std::invalid_argument("pairing code \"" + code + "\" has no letters or digits");
        m_pairingCodesRedeemed.emplace(normalised, false);
    }
    for (const auto& child : config.children) {
        const auto known = std::ranges::find(m_children, child.id, &BridgeChild::id);
        if (known == m_children.end())
            m_children.push_back(child);
        else
            known->name = child.name;
    }
}

json BridgeEndpoints::redeem(const json& body)
{
    const ObjectReader r(body);
    const std::string code = normalisePairingCode(r.required("code"));
    BridgeIdentity identity{.name = r.required("bridgeName", true), .platform = r.required("platform")};
    (void)r.required("appVersion");

    const auto known = m_pairingCodesRedeemed.find(code);
    const std::string invalidText = "That pairing code is not valid or has expired.";
    if (known == m_pairingCodesRedeemed.end())
        throw ServiceError(404, "pairing_code_invalid", invalidText);
    if (known->second)
        throw ServiceError(410, "pairing_code_invalid", invalidText);
    known->second = true;

    const Instant now = Instant::now();
    identity.id = newIdentifier("brg");
    identity.status = "active";
    identity.lastSeenAt = now;
    const BridgeRedeemResponse answer{
        identity, randomHex(32), Instant::fromUnixSeconds(now.unixSeconds + double(m_tokenLifetime.count())),
        "paired"};
    m_bridgesByToken[answer.bridgeToken] = {identity, answer.tokenExpiresAt};
    return {{"bridge",
             {{"id", identity.id},
              {"name", orNull(identity.name)},
              {"platform", identity.platform},
              {"status", identity.status},
              {"lastSeenAt", orNull(identity.lastSeenAt)}}},
            {"bridgeToken", answer.bridgeToken},
            {"tokenExpiresAt", formatInternetDateTime(answer.tokenExpiresAt)},
            {"state", answer.state}};
}

std::string BridgeEndpoints::authenticate(const std::optional<std::string>& authorization) const
{
    constexpr std::string_view scheme = "bearer ";
    if (!authorization || authorization->size() <= scheme.size() ||
        !std::ranges::equal(authorization->substr(0, scheme.size()), scheme,
                            [](unsigned char a, char b) { return std::tolower(a) == b; }))
        throw unauthorized();
    const auto bridge = m_bridgesByToken.find(authorization->substr(scheme.size()));
    if (bridge == m_bridgesByToken.end() || Instant::now() >= bridge->second.tokenExpiresAt)
        throw unauthorized();
    return bridge->second.identity.id;
}

void BridgeEndpoints::removeChild(const std::string& childId)
{
    std::erase_if(m_children, [&](const BridgeChild& child) { return child.id == childId; });
}

json BridgeEndpoints::children() const
{
    json list = json::array();
    for (const auto& child : m_children)
        list.push_back(toJson(child));
    return {{"children", std::move(list)}};
}

json BridgeEndpoints::registerDevice(const std::string& bridgeId, const json& body)
{
    BridgeDevice registration = readDeviceRegistration(body);
    requireChild(registration.childId);
    BridgeDevice& known = device(bridgeId, registration.externalDeviceId);
    registration.id = known.id;
    registration.lastIngestAt = known.lastIngestAt;
    known = std::move(registration);
    return {{"device", toJson(known)}};
}

json BridgeEndpoints::heartbeat(const json& body) const
{
    (void)readHeartbeatReport(body);
    return {{"success", true}};
}

json BridgeEndpoints::ingest(const std::string& bridgeId, const json& body)
{
    if (m_faults.delayPerBatch)
        QThread::msleep(static_cast<unsigned long>(m_faults.delayPerBatch->count()));
    if (m_faults.failAfterBatches && m_answeredBatches >= *m_faults.failAfterBatches)
        throw ServiceError(500, "internal_error", "The service could not process this batch.");

    const BridgeIngestRequest batch = readIngestBatch(body);
    requireChild(batch.childId);
    BridgeIngestResponse answer{.submitted = static_cast<int64_t>(body.at("items").size())};
    for (const json& raw : body.at("items")) {
        const auto item = readIngestItem(raw, batch.childId);
        BridgeIngestResult result{.processStatus = "failed", .alertCreated = false};
        if (const auto id = raw.find("clientItemId"); id != raw.end() && id->is_string())
            result.clientItemId = id->get<std::string>();
        const auto marker = std::ranges::find_if(m_faults.statusMarkers, [&](const auto& m) {
            return item && item->contentText.find(m.first) != std::string::npos;
        });
        if (!item || marker != m_faults.statusMarkers.end()) {
            ++answer.failed;
            if (item)
                result.processStatus = marker->second;
        } else if (!m_items.emplace(bridgeId, item->clientItemId).second) {
            // Also the second copy of an item within one batch: the first is kept by now.
            ++answer.skipped;
            result.processStatus = "duplicate";
        } else {
            ++answer.processed;
            m_itemIds.push_back(item->clientItemId);
            result = {result.clientItemId, "processed", true, newIdentifier("alt")};
        }
        answer.results.push_back(std::move(result));
    }

    // The batch carries what the device record needs, so a batch for a device that was never
    // registered still leaves the service knowing it.
    BridgeDevice& known = device(bridgeId, batch.externalDeviceId);
    known.childId = batch.childId;
    known.sourceType = batch.sourceType;
    if (batch.deviceName)
        known.deviceName = batch.deviceName;
    known.lastScanAt = parseInternetDateTime(batch.lastScanAt, FractionalSeconds::required);
    if (answer.processed > 0)
        known.lastIngestAt = Instant::now();

    if (m_faults.answerForeignIds)
        answer.results.push_back({.clientItemId = std::string(64, 'f'), .processStatus = "processed"});
    answer.alertsCreated = m_faults.alertsPerBatch.value_or(answer.processed);
    ++m_answeredBatches;
    json results = json::array();
    for (const auto& result : answer.results)
        results.push_back(toJson(result));
    return {{"submitted", answer.submitted}, {"queued", answer.queued},
            {"processed", answer.processed}, {"skipped", answer.skipped},
            {"failed", answer.failed},       {"alertsCreated", answer.alertsCreated},
            {"results", std::move(results)}};
}

json BridgeEndpoints::heldItems() const
{
    json items = json::array();
    for (const auto& id : m_itemIds)
        items.push_back({{"clientItemId", id}});
    return {{"items", std::move(items)}};
}

void BridgeEndpoints::requireChild(const std::string& childId) const
{
    if (std::ranges::find(m_children, childId, &BridgeChild::id) == m_children.end())
        throw ServiceError(404, "child_not_found", "That child profile was not found.");
}

BridgeDevice& BridgeEndpoints::device(const std::string& bridgeId, const std::string& externalDeviceId)
{
    auto [it, added] = m_devices.try_emplace({bridgeId, externalDeviceId});
    if (added)
        it->second = {.id = newIdentifier("dev"), .externalDeviceId = externalDeviceId};
    return it->second;
}

} // namespace quorva::devservice
