#include "DumpReport.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <sstream>

namespace quorva::devservice {
namespace {

using nlohmann::ordered_json;

ordered_json orNull(const std::optional<std::string>& value)
{
    return value ? ordered_json(*value) : nullptr;
}

std::string orDash(const std::optional<std::string>& value)
{
    return value ? *value : "-";
}

// Keeps the dump one line per item: texts are cut and line breaks flattened.
std::string preview(const std::string& text)
{
    size_t cut = std::min<size_t>(text.size(), 60);
    while (cut < text.size() && cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80)
        --cut; // never split a UTF-8 sequence
    std::string shown = cut < text.size() ? text.substr(0, cut) + "…" : text;
    for (char& c : shown)
        if (c == '\n' || c == '\r' || c == '\t')
            c = ' ';
    return shown;
}

} // namespace

std::string dumpJson(DevStore& store)
{
    ordered_json out;
    out["pairingCodes"] = ordered_json::array();
    for (const auto& c : store.pairingCodes())
        out["pairingCodes"].push_back(
            {{"code", c.code}, {"redeemedAt", orNull(c.redeemedAt)}, {"bridgeId", orNull(c.bridgeId)}});
    out["children"] = ordered_json::array();
    for (const auto& c : store.children())
        out["children"].push_back({{"id", c.id}, {"name", c.name}});
    out["bridges"] = ordered_json::array();
    for (const auto& b : store.bridges())
        out["bridges"].push_back({{"id", b.id},
                                  {"name", b.name},
                                  {"platform", b.platform},
                                  {"appVersion", b.appVersion},
                                  {"status", b.status},
                                  {"pairedAt", b.pairedAt},
                                  {"lastSeenAt", b.lastSeenAt},
                                  {"tokenExpiresAt", b.tokenExpiresAt}});
    out["devices"] = ordered_json::array();
    for (const auto& d : store.devices())
        out["devices"].push_back({{"id", d.id},
                                  {"bridgeId", d.bridgeId},
                                  {"childId", d.childId},
                                  {"externalDeviceId", d.externalDeviceId},
                                  {"deviceName", orNull(d.deviceName)},
                                  {"sourceType", d.sourceType},
                                  {"lastScanAt", orNull(d.lastScanAt)},
                                  {"lastIngestAt", orNull(d.lastIngestAt)}});
    out["heartbeats"] = ordered_json::array();
    for (const auto& h : store.heartbeats())
        out["heartbeats"].push_back({{"bridgeId", h.bridgeId},
                                     {"receivedAt", h.receivedAt},
                                     {"status", h.status},
                                     {"appVersion", h.appVersion},
                                     {"setupIssue", orNull(h.setupIssue)},
                                     {"lastScanAt", orNull(h.lastScanAt)},
                                     {"lastIngestAt", orNull(h.lastIngestAt)},
                                     {"lastProcessedItemHash", orNull(h.lastProcessedItemHash)}});
    out["items"] = ordered_json::array();
    for (const auto& i : store.items())
        out["items"].push_back({{"bridgeId", i.bridgeId},
                                {"clientItemId", i.clientItemId},
                                {"childId", i.childId},
                                {"externalDeviceId", i.externalDeviceId},
                                {"source", i.source},
                                {"sourceApp", i.sourceApp},
                                {"contentType", i.contentType},
                                {"contentText", i.contentText},
                                {"senderName", orNull(i.senderName)},
                                {"capturedAt", i.capturedAt},
                                {"receivedAt", i.receivedAt},
                                {"processStatus", i.processStatus},
                                {"alertId", orNull(i.alertId)}});
    out["alertsCount"] = store.alertCount();
    return out.dump(2, ' ', false, ordered_json::error_handler_t::replace) + "\n";
}

std::string dumpText(DevStore& store)
{
    std::ostringstream out;
    const auto codes = store.pairingCodes();
    out << "Pairing codes (" << codes.size() << ")\n";
    for (const auto& c : codes)
        out << "  " << c.code << "  "
            << (c.redeemedAt ? "redeemed " + *c.redeemedAt + " by " + orDash(c.bridgeId)
                             : std::string("unused"))
            << "\n";
    const auto children = store.children();
    out << "Children (" << children.size() << ")\n";
    for (const auto& c : children)
        out << "  " << c.id << "  " << c.name << "\n";
    const auto bridges = store.bridges();
    out << "Bridges (" << bridges.size() << ")\n";
    for (const auto& b : bridges)
        out << "  " << b.id << "  \"" << b.name << "\"  " << b.platform << " " << b.appVersion << "  "
            << b.status << "  last seen " << b.lastSeenAt << "  token expires " << b.tokenExpiresAt << "\n";
    const auto devices = store.devices();
    out << "Devices (" << devices.size() << ")\n";
    for (const auto& d : devices)
        out << "  " << d.id << "  " << d.externalDeviceId << "  \"" << orDash(d.deviceName) << "\"  child "
            << d.childId << "  " << d.sourceType << "  last scan " << orDash(d.lastScanAt) << "  last ingest "
            << orDash(d.lastIngestAt) << "\n";
    const auto heartbeats = store.heartbeats();
    out << "Heartbeats (" << heartbeats.size() << ")\n";
    for (const auto& h : heartbeats)
        out << "  " << h.receivedAt << "  " << h.bridgeId << "  " << h.status << "  " << h.appVersion
            << "  setup issue: " << orDash(h.setupIssue) << "  last scan " << orDash(h.lastScanAt)
            << "  last ingest " << orDash(h.lastIngestAt) << "  last item " << orDash(h.lastProcessedItemHash)
            << "\n";
    const auto items = store.items();
    out << "Ingested items (" << items.size() << ")\n";
    for (const auto& i : items)
        out << "  " << i.clientItemId.substr(0, 12) << "…  " << i.processStatus << "  " << i.capturedAt
            << "  from " << orDash(i.senderName) << "  \"" << preview(i.contentText) << "\"\n";
    out << "Alerts: " << store.alertCount() << "\n";
    return out.str();
}

} // namespace quorva::devservice
