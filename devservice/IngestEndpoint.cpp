#include "IngestEndpoint.h"

#include "BridgeEndpoints.h"
#include "Identifiers.h"
#include "RequestValidation.h"
#include "ServiceError.h"
#include "model/Iso8601.h"

#include <QThread>

namespace quorva::devservice {

using nlohmann::json;

IngestEndpoint::IngestEndpoint(DevStore& store, IngestFaults faults)
    : m_store(store), m_faults(std::move(faults))
{
}

json IngestEndpoint::ingest(const StoredBridge& bridge, const json& body)
{
    if (m_faults.delayPerBatch)
        QThread::msleep(static_cast<unsigned long>(m_faults.delayPerBatch->count()));
    if (m_faults.failAfterBatches && m_answeredBatches >= *m_faults.failAfterBatches)
        throw ServiceError(500, "internal_error", "The service could not process this batch.");

    const IngestBatch batch = readIngestBatch(body);
    requireChild(m_store, batch.childId);
    const std::string now = formatInternetDateTime(Instant::now());

    int64_t processed = 0;
    int64_t skipped = 0;
    int64_t failed = 0;
    json results = json::array();
    for (const auto& raw : batch.items) {
        ItemCheck check = checkIngestItem(raw, batch.childId);
        json result = {{"clientItemId", check.clientItemId}};
        const auto marked = check.item ? markedStatus(check.item->contentText) : std::nullopt;
        if (marked) {
            ++failed;
            result.update({{"processStatus", *marked}, {"alertCreated", false}});
        } else if (!check.item) {
            ++failed;
            result.update({{"processStatus", "failed"}, {"alertCreated", false}});
        } else if (m_store.hasItem(bridge.id, check.item->clientItemId)) {
            // Also catches the second copy of an item within one batch: the first is stored by now.
            ++skipped;
            result.update({{"processStatus", "duplicate"}, {"alertCreated", false}});
        } else {
            ++processed;
            const IngestItem& item = *check.item;
            const std::string alertId = newIdentifier("alt");
            m_store.insertItem({bridge.id, item.clientItemId, item.childId, batch.externalDeviceId,
                                item.source, item.sourceApp, item.contentType, item.contentText,
                                item.senderName, item.capturedAt, now, "processed", alertId});
            result.update({{"processStatus", "processed"}, {"alertCreated", true}, {"alertId", alertId}});
        }
        results.push_back(std::move(result));
    }

    // The batch carries what the device record needs, so a batch for a device that was never
    // registered still leaves the service knowing it.
    auto device = m_store.device(bridge.id, batch.externalDeviceId);
    if (!device)
        device = StoredDevice{
            newIdentifier("dev"), bridge.id, batch.childId, batch.externalDeviceId, {}, {}, {}, {}};
    device->childId = batch.childId;
    device->sourceType = batch.sourceType;
    if (batch.deviceName)
        device->deviceName = batch.deviceName;
    device->lastScanAt = batch.lastScanAt;
    if (processed > 0)
        device->lastIngestAt = now;
    m_store.saveDevice(*device);

    if (m_faults.answerForeignIds)
        results.push_back({{"clientItemId", std::string(64, 'f')}, {"processStatus", "processed"}});
    ++m_answeredBatches;
    return {{"submitted", static_cast<int64_t>(batch.items.size())},
            {"queued", 0},
            {"processed", processed},
            {"skipped", skipped},
            {"failed", failed},
            {"alertsCreated", m_faults.alertsPerBatch.value_or(processed)},
            {"results", std::move(results)}};
}

std::optional<std::string> IngestEndpoint::markedStatus(const std::string& text) const
{
    for (const auto& [marker, status] : m_faults.statusMarkers)
        if (text.find(marker) != std::string::npos)
            return status;
    return std::nullopt;
}

} // namespace quorva::devservice
