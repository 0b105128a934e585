#include "RequestValidation.h"

#include "ServiceError.h"
#include "api/ServiceDate.h"
#include "backup/UnicodeText.h"
#include "model/Iso8601.h"

#include <QList>
#include <QString>

#include <algorithm>

namespace quorva::devservice {
namespace {

using nlohmann::json;

bool isLowerHex64(const std::string& s)
{
    return s.size() == 64 &&
           std::ranges::all_of(s, [](char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'); });
}

std::optional<std::string> formatted(const std::optional<Instant>& instant)
{
    return instant ? std::optional(formatInternetDateTime(*instant)) : std::nullopt;
}

} // namespace

std::string ObjectReader::required(const char* name, bool allowEmpty) const
{
    const auto it = m_object.find(name);
    if (it == m_object.end() || it->is_null())
        fail(name, "is required");
    if (!it->is_string())
        fail(name, "must be a string");
    auto value = it->get<std::string>();
    if (!allowEmpty && value.empty())
        fail(name, "must not be empty");
    return value;
}

std::optional<std::string> ObjectReader::optional(const char* name) const
{
    const auto it = m_object.find(name);
    if (it == m_object.end() || it->is_null())
        return std::nullopt;
    if (!it->is_string())
        fail(name, "must be a string or null");
    return it->get<std::string>();
}

std::optional<std::string> ObjectReader::nullable(const char* name) const
{
    if (!m_object.contains(name))
        fail(name, "is required (a string or null)");
    return optional(name);
}

Instant ObjectReader::requiredInstant(const char* name) const
{
    return instant(name, required(name));
}

std::optional<Instant> ObjectReader::optionalInstant(const char* name) const
{
    const auto value = optional(name);
    return value ? std::optional(instant(name, *value)) : std::nullopt;
}

void ObjectReader::fail(const char* name, const char* what) const
{
    throw ServiceError::invalidRequest(m_context + "\"" + name + "\" " + what + ".");
}

Instant ObjectReader::instant(const char* name, const std::string& text) const
{
    try {
        return decodeServiceDate(json(text));
    } catch (const WireDecodingError&) {
        fail(name, "must be an ISO-8601 date-time");
    }
}

json parseObjectBody(std::string_view body)
{
    // The SAX-driven parser does not recurse, so a deeply nested body cannot exhaust the stack.
    json parsed = json::parse(body.begin(), body.end(), nullptr, false);
    if (parsed.is_discarded())
        throw ServiceError::invalidRequest("The request body is not valid JSON.");
    if (!parsed.is_object())
        throw ServiceError::invalidRequest("The request body must be a JSON object.");
    return parsed;
}

BridgeDevice readDeviceRegistration(const json& body)
{
    const ObjectReader r(body);
    return {.childId = r.required("childId"),
            .externalDeviceId = r.required("externalDeviceId"),
            .deviceName = r.required("deviceName", true),
            .sourceType = r.required("sourceType"),
            .lastScanAt = r.requiredInstant("lastScanAt")};
}

HeartbeatReport readHeartbeatReport(const json& body)
{
    const ObjectReader r(body);
    HeartbeatReport report{.status = r.required("status")};
    (void)r.required("appVersion");
    report.setupIssue = r.nullable("setupIssue");
    report.lastScanAt = formatted(r.optionalInstant("lastScanAt"));
    report.lastIngestAt = formatted(r.optionalInstant("lastIngestAt"));
    report.lastProcessedItemHash = r.optional("lastProcessedItemHash");
    return report;
}

BridgeIngestRequest readIngestBatch(const json& body)
{
    const ObjectReader r(body);
    BridgeIngestRequest batch{.childId = r.required("childId"),
                              .externalDeviceId = r.required("externalDeviceId"),
                              .deviceName = r.optional("deviceName"),
                              .sourceType = r.required("sourceType"),
                              .lastScanAt = formatInternetDateTime(r.requiredInstant("lastScanAt")),
                              .lastProcessedItemHash = r.optional("lastProcessedItemHash")};
    const auto items = body.find("items");
    if (items == body.end() || !items->is_array())
        r.fail("items", "must be an array");
    if (items->empty() || items->size() > kMaxItemsPerBatch)
        throw ServiceError::invalidRequest("A batch must hold between 1 and 100 items; this one holds " +
                                           std::to_string(items->size()) + ".");
    if (!std::ranges::all_of(*items, &json::is_object))
        r.fail("items", "must hold only objects");
    return batch;
}

std::optional<BridgeIngestItem> readIngestItem(const json& item, const std::string& batchChildId)
{
    try {
        const ObjectReader r(item, "Item member ");
        BridgeIngestItem parsed{.clientItemId = r.required("clientItemId"),
                                .childId = r.required("childId"),
                                .source = r.required("source"),
                                .sourceApp = r.required("sourceApp"),
                                .contentType = r.required("contentType"),
                                .contentText = r.required("contentText"),
                                .senderName = r.optional("senderName"),
                                .capturedAt = formatInternetDateTime(r.requiredInstant("capturedAt"))};
        // Counted as the client cuts texts: in user-perceived characters.
        if (!isLowerHex64(parsed.clientItemId) || parsed.childId != batchChildId ||
            unicode::graphemeCount(parsed.contentText) > kMaxContentCharacters)
            return std::nullopt;
        return parsed;
    } catch (const ServiceError&) {
        return std::nullopt;
    }
}

std::string normalisePairingCode(std::string_view code)
{
    const QString upper = QString::fromUtf8(code.data(), static_cast<qsizetype>(code.size())).toUpper();
    QString kept;
    for (const char32_t c : upper.toUcs4())
        if (QChar::isLetterOrNumber(c))
            kept.append(QString::fromUcs4(&c, 1));
    return kept.toStdString();
}

} // namespace quorva::devservice
