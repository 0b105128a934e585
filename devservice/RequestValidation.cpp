#include "RequestValidation.h"

#include "ServiceError.h"
#include "model/Iso8601.h"

#include <QList>
#include <QString>
#include <QTextBoundaryFinder>

namespace quorva::devservice {
namespace {

using nlohmann::json;

// Reads the members of one request object; every fault names the member.
class ObjectReader {
public:
    ObjectReader(const json& object, std::string context) : m_object(object), m_context(std::move(context)) {}

    [[nodiscard]] std::string required(const char* name, bool allowEmpty = false) const
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

    // Missing and null both mean absent.
    [[nodiscard]] std::optional<std::string> optional(const char* name) const
    {
        const auto it = m_object.find(name);
        if (it == m_object.end() || it->is_null())
            return std::nullopt;
        if (!it->is_string())
            fail(name, "must be a string or null");
        return it->get<std::string>();
    }

    // The member must be there, but may be null.
    [[nodiscard]] std::optional<std::string> nullable(const char* name) const
    {
        if (!m_object.contains(name))
            fail(name, "is required (a string or null)");
        return optional(name);
    }

    [[nodiscard]] std::string requiredInstant(const char* name) const
    {
        return instant(name, required(name));
    }

    [[nodiscard]] std::optional<std::string> optionalInstant(const char* name) const
    {
        auto value = optional(name);
        return value ? std::optional(instant(name, *value)) : std::nullopt;
    }

    [[noreturn]] void fail(const char* name, const char* what) const
    {
        throw ServiceError::invalidRequest(m_context + "\"" + name + "\" " + what + ".");
    }

private:
    [[nodiscard]] std::string instant(const char* name, const std::string& text) const
    {
        auto normalised = normaliseInstant(text);
        if (!normalised)
            fail(name, "must be an ISO-8601 date-time");
        return *normalised;
    }

    const json& m_object;
    std::string m_context;
};

bool isLowerHex64(const std::string& s)
{
    if (s.size() != 64)
        return false;
    for (const char c : s)
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f')))
            return false;
    return true;
}

} // namespace

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

RedeemRequest readRedeemRequest(const json& body)
{
    const ObjectReader r(body, "Member ");
    return {r.required("code"), r.required("bridgeName", true), r.required("platform"),
            r.required("appVersion")};
}

DeviceRegistration readDeviceRegistration(const json& body)
{
    const ObjectReader r(body, "Member ");
    return {r.required("childId"), r.required("externalDeviceId"), r.required("deviceName", true),
            r.required("sourceType"), r.requiredInstant("lastScanAt")};
}

HeartbeatReport readHeartbeatReport(const json& body)
{
    const ObjectReader r(body, "Member ");
    return {r.required("status"),
            r.required("appVersion"),
            r.nullable("setupIssue"),
            r.optionalInstant("lastScanAt"),
            r.optionalInstant("lastIngestAt"),
            r.optional("lastProcessedItemHash")};
}

IngestBatch readIngestBatch(const json& body)
{
    const ObjectReader r(body, "Member ");
    IngestBatch batch{r.required("childId"),
                      r.required("externalDeviceId"),
                      r.optional("deviceName"),
                      r.required("sourceType"),
                      r.requiredInstant("lastScanAt"),
                      r.optional("lastProcessedItemHash"),
                      {}};
    const auto items = body.find("items");
    if (items == body.end() || !items->is_array())
        r.fail("items", "must be an array");
    if (items->size() < kMinItemsPerBatch || items->size() > kMaxItemsPerBatch)
        throw ServiceError::invalidRequest("A batch must hold between 1 and 100 items; this one holds " +
                                           std::to_string(items->size()) + ".");
    for (const auto& item : *items) {
        if (!item.is_object())
            r.fail("items", "must hold only objects");
        batch.items.push_back(item);
    }
    return batch;
}

ItemCheck checkIngestItem(const json& item, const std::string& batchChildId)
{
    ItemCheck check;
    if (const auto id = item.find("clientItemId"); id != item.end() && id->is_string())
        check.clientItemId = id->get<std::string>();
    try {
        const ObjectReader r(item, "Item member ");
        IngestItem parsed{r.required("clientItemId"), r.required("childId"),
                          r.required("source"),       r.required("sourceApp"),
                          r.required("contentType"),  r.required("contentText"),
                          r.optional("senderName"),   r.requiredInstant("capturedAt")};
        if (!isLowerHex64(parsed.clientItemId))
            r.fail("clientItemId", "must be 64 lowercase hexadecimal digits");
        if (parsed.childId != batchChildId)
            r.fail("childId", "must match the batch's childId");
        if (countCharacters(parsed.contentText) > kMaxContentCharacters)
            r.fail("contentText", "must not be longer than 4000 characters");
        check.item = std::move(parsed);
    } catch (const ServiceError& e) {
        check.problem = e.what();
    }
    return check;
}

std::optional<std::string> normaliseInstant(std::string_view text)
{
    auto instant = parseInternetDateTime(text, FractionalSeconds::required);
    if (!instant)
        instant = parseInternetDateTime(text, FractionalSeconds::forbidden);
    if (!instant)
        return std::nullopt;
    return formatInternetDateTime(*instant);
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

size_t countCharacters(std::string_view utf8)
{
    const QString text = QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
    size_t count = 0;
    while (finder.toNextBoundary() != -1)
        ++count;
    return count;
}

} // namespace quorva::devservice
