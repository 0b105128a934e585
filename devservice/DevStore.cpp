#include "DevStore.h"

namespace quorva::devservice {
namespace {

constexpr const char* kSchema = R"sql(
CREATE TABLE IF NOT EXISTS pairing_codes (
  code TEXT PRIMARY KEY, redeemed_at TEXT, bridge_id TEXT);
CREATE TABLE IF NOT EXISTS children (
  position INTEGER PRIMARY KEY AUTOINCREMENT, id TEXT NOT NULL UNIQUE, name TEXT NOT NULL);
CREATE TABLE IF NOT EXISTS bridges (
  id TEXT PRIMARY KEY, name TEXT NOT NULL, platform TEXT NOT NULL, app_version TEXT NOT NULL,
  status TEXT NOT NULL, paired_at TEXT NOT NULL, last_seen_at TEXT NOT NULL,
  token_hash TEXT NOT NULL UNIQUE, token_expires_at TEXT NOT NULL);
CREATE TABLE IF NOT EXISTS devices (
  id TEXT PRIMARY KEY, bridge_id TEXT NOT NULL REFERENCES bridges(id), child_id TEXT NOT NULL,
  external_device_id TEXT NOT NULL, device_name TEXT, source_type TEXT NOT NULL,
  last_scan_at TEXT, last_ingest_at TEXT, UNIQUE (bridge_id, external_device_id));
CREATE TABLE IF NOT EXISTS heartbeats (
  seq INTEGER PRIMARY KEY AUTOINCREMENT, bridge_id TEXT NOT NULL REFERENCES bridges(id),
  received_at TEXT NOT NULL, status TEXT NOT NULL, app_version TEXT NOT NULL, setup_issue TEXT,
  last_scan_at TEXT, last_ingest_at TEXT, last_processed_item_hash TEXT);
CREATE TABLE IF NOT EXISTS items (
  seq INTEGER PRIMARY KEY AUTOINCREMENT, bridge_id TEXT NOT NULL REFERENCES bridges(id),
  client_item_id TEXT NOT NULL, child_id TEXT NOT NULL, external_device_id TEXT NOT NULL,
  source TEXT NOT NULL, source_app TEXT NOT NULL, content_type TEXT NOT NULL, content_text TEXT NOT NULL,
  sender_name TEXT, captured_at TEXT NOT NULL, received_at TEXT NOT NULL, process_status TEXT NOT NULL,
  alert_id TEXT, UNIQUE (bridge_id, client_item_id));
CREATE TABLE IF NOT EXISTS received_requests (
  seq INTEGER PRIMARY KEY AUTOINCREMENT, received_at TEXT NOT NULL, method TEXT NOT NULL,
  path TEXT NOT NULL, status INTEGER NOT NULL, headers TEXT NOT NULL, had_authorization INTEGER NOT NULL,
  body_bytes INTEGER NOT NULL, body BLOB);
)sql";

constexpr const char* kBridgeColumns =
    "id, name, platform, app_version, status, paired_at, last_seen_at, token_expires_at";

StoredBridge readBridge(const sqlite::Statement& s)
{
    return {s.text(0), s.text(1), s.text(2), s.text(3), s.text(4), s.text(5), s.text(6), s.text(7)};
}

} // namespace

DevStore::DevStore(const std::string& path, OpenMode mode) : m_db(path, mode)
{
    m_db.exec(kSchema);
}

void DevStore::addPairingCode(const std::string& code)
{
    sqlite::Statement(m_db, "INSERT OR IGNORE INTO pairing_codes (code) VALUES (?)").bind(1, code).run();
}

std::optional<PairingCodeRow> DevStore::pairingCode(const std::string& code)
{
    sqlite::Statement s(m_db, "SELECT code, redeemed_at, bridge_id FROM pairing_codes WHERE code = ?");
    s.bind(1, code);
    if (!s.step())
        return std::nullopt;
    return PairingCodeRow{s.text(0), s.optionalText(1), s.optionalText(2)};
}

void DevStore::markPairingCodeRedeemed(const std::string& code, const std::string& bridgeId,
                                       const std::string& at)
{
    sqlite::Statement(m_db, "UPDATE pairing_codes SET redeemed_at = ?, bridge_id = ? WHERE code = ?")
        .bind(1, at)
        .bind(2, bridgeId)
        .bind(3, code)
        .run();
}

std::vector<PairingCodeRow> DevStore::pairingCodes()
{
    sqlite::Statement s(m_db, "SELECT code, redeemed_at, bridge_id FROM pairing_codes ORDER BY rowid");
    std::vector<PairingCodeRow> rows;
    while (s.step())
        rows.push_back({s.text(0), s.optionalText(1), s.optionalText(2)});
    return rows;
}

void DevStore::upsertChild(const BridgeChild& child)
{
    sqlite::Statement(m_db, "INSERT INTO children (id, name) VALUES (?, ?) "
                            "ON CONFLICT (id) DO UPDATE SET name = excluded.name")
        .bind(1, child.id)
        .bind(2, child.name)
        .run();
}

std::vector<BridgeChild> DevStore::children()
{
    sqlite::Statement s(m_db, "SELECT id, name FROM children ORDER BY position");
    std::vector<BridgeChild> rows;
    while (s.step())
        rows.push_back({s.text(0), s.text(1)});
    return rows;
}

bool DevStore::hasChild(const std::string& id)
{
    sqlite::Statement s(m_db, "SELECT 1 FROM children WHERE id = ?");
    s.bind(1, id);
    return s.step();
}

void DevStore::insertBridge(const StoredBridge& b, const std::string& tokenHash)
{
    sqlite::Statement(
        m_db, "INSERT INTO bridges (id, name, platform, app_version, status, paired_at, last_seen_at, "
              "token_expires_at, token_hash) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)")
        .bind(1, b.id)
        .bind(2, b.name)
        .bind(3, b.platform)
        .bind(4, b.appVersion)
        .bind(5, b.status)
        .bind(6, b.pairedAt)
        .bind(7, b.lastSeenAt)
        .bind(8, b.tokenExpiresAt)
        .bind(9, tokenHash)
        .run();
}

std::optional<StoredBridge> DevStore::bridgeByTokenHash(const std::string& tokenHash)
{
    sqlite::Statement s(m_db, std::string("SELECT ") + kBridgeColumns + " FROM bridges WHERE token_hash = ?");
    s.bind(1, tokenHash);
    if (!s.step())
        return std::nullopt;
    return readBridge(s);
}

void DevStore::updateBridgeSeen(const std::string& bridgeId, const std::string& lastSeenAt)
{
    sqlite::Statement(m_db, "UPDATE bridges SET last_seen_at = ? WHERE id = ?")
        .bind(1, lastSeenAt)
        .bind(2, bridgeId)
        .run();
}

void DevStore::updateBridgeStatus(const std::string& bridgeId, const std::string& status,
                                  const std::string& appVersion)
{
    sqlite::Statement(m_db, "UPDATE bridges SET status = ?, app_version = ? WHERE id = ?")
        .bind(1, status)
        .bind(2, appVersion)
        .bind(3, bridgeId)
        .run();
}

std::vector<StoredBridge> DevStore::bridges()
{
    sqlite::Statement s(m_db, std::string("SELECT ") + kBridgeColumns + " FROM bridges ORDER BY rowid");
    std::vector<StoredBridge> rows;
    while (s.step())
        rows.push_back(readBridge(s));
    return rows;
}

namespace {
constexpr const char* kDeviceColumns =
    "id, bridge_id, child_id, external_device_id, device_name, source_type, "
    "last_scan_at, last_ingest_at";

StoredDevice readDevice(const sqlite::Statement& s)
{
    return {s.text(0),         s.text(1), s.text(2),         s.text(3),
            s.optionalText(4), s.text(5), s.optionalText(6), s.optionalText(7)};
}
} // namespace

std::optional<StoredDevice> DevStore::device(const std::string& bridgeId, const std::string& externalDeviceId)
{
    sqlite::Statement s(m_db, std::string("SELECT ") + kDeviceColumns +
                                  " FROM devices WHERE bridge_id = ? AND external_device_id = ?");
    s.bind(1, bridgeId).bind(2, externalDeviceId);
    if (!s.step())
        return std::nullopt;
    return readDevice(s);
}

void DevStore::saveDevice(const StoredDevice& d)
{
    sqlite::Statement(m_db, "INSERT INTO devices (id, bridge_id, child_id, external_device_id, device_name, "
                            "source_type, last_scan_at, last_ingest_at) VALUES (?, ?, ?, ?, ?, ?, ?, ?) "
                            "ON CONFLICT (bridge_id, external_device_id) DO UPDATE SET "
                            "child_id = excluded.child_id, device_name = excluded.device_name, "
                            "source_type = excluded.source_type, last_scan_at = excluded.last_scan_at, "
                            "last_ingest_at = excluded.last_ingest_at")
        .bind(1, d.id)
        .bind(2, d.bridgeId)
        .bind(3, d.childId)
        .bind(4, d.externalDeviceId)
        .bind(5, d.deviceName)
        .bind(6, d.sourceType)
        .bind(7, d.lastScanAt)
        .bind(8, d.lastIngestAt)
        .run();
}

std::vector<StoredDevice> DevStore::devices()
{
    sqlite::Statement s(m_db, std::string("SELECT ") + kDeviceColumns + " FROM devices ORDER BY rowid");
    std::vector<StoredDevice> rows;
    while (s.step())
        rows.push_back(readDevice(s));
    return rows;
}

void DevStore::insertHeartbeat(const StoredHeartbeat& h)
{
    sqlite::Statement(
        m_db, "INSERT INTO heartbeats (bridge_id, received_at, status, app_version, setup_issue, "
              "last_scan_at, last_ingest_at, last_processed_item_hash) VALUES (?, ?, ?, ?, ?, ?, ?, ?)")
        .bind(1, h.bridgeId)
        .bind(2, h.receivedAt)
        .bind(3, h.status)
        .bind(4, h.appVersion)
        .bind(5, h.setupIssue)
        .bind(6, h.lastScanAt)
        .bind(7, h.lastIngestAt)
        .bind(8, h.lastProcessedItemHash)
        .run();
}

std::vector<StoredHeartbeat> DevStore::heartbeats()
{
    sqlite::Statement s(m_db,
                        "SELECT bridge_id, received_at, status, app_version, setup_issue, last_scan_at, "
                        "last_ingest_at, last_processed_item_hash FROM heartbeats ORDER BY seq");
    std::vector<StoredHeartbeat> rows;
    while (s.step())
        rows.push_back({s.text(0), s.text(1), s.text(2), s.text(3), s.optionalText(4), s.optionalText(5),
                        s.optionalText(6), s.optionalText(7)});
    return rows;
}

bool DevStore::hasItem(const std::string& bridgeId, const std::string& clientItemId)
{
    sqlite::Statement s(m_db, "SELECT 1 FROM items WHERE bridge_id = ? AND client_item_id = ?");
    s.bind(1, bridgeId).bind(2, clientItemId);
    return s.step();
}

void DevStore::insertItem(const StoredItem& i)
{
    sqlite::Statement(m_db,
                      "INSERT INTO items (bridge_id, client_item_id, child_id, external_device_id, source, "
                      "source_app, content_type, content_text, sender_name, captured_at, received_at, "
                      "process_status, alert_id) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)")
        .bind(1, i.bridgeId)
        .bind(2, i.clientItemId)
        .bind(3, i.childId)
        .bind(4, i.externalDeviceId)
        .bind(5, i.source)
        .bind(6, i.sourceApp)
        .bind(7, i.contentType)
        .bind(8, i.contentText)
        .bind(9, i.senderName)
        .bind(10, i.capturedAt)
        .bind(11, i.receivedAt)
        .bind(12, i.processStatus)
        .bind(13, i.alertId)
        .run();
}

std::vector<StoredItem> DevStore::items()
{
    sqlite::Statement s(m_db,
                        "SELECT bridge_id, client_item_id, child_id, external_device_id, source, source_app, "
                        "content_type, content_text, sender_name, captured_at, received_at, process_status, "
                        "alert_id FROM items ORDER BY seq");
    std::vector<StoredItem> rows;
    while (s.step())
        rows.push_back({s.text(0), s.text(1), s.text(2), s.text(3), s.text(4), s.text(5), s.text(6),
                        s.text(7), s.optionalText(8), s.text(9), s.text(10), s.text(11), s.optionalText(12)});
    return rows;
}

int64_t DevStore::alertCount()
{
    sqlite::Statement s(m_db, "SELECT count(*) FROM items WHERE alert_id IS NOT NULL");
    return s.step() ? s.int64(0) : 0;
}

int64_t DevStore::recordRequest(const ReceivedRequest& r)
{
    sqlite::Statement s(m_db,
                        "INSERT INTO received_requests (received_at, method, path, status, headers, "
                        "had_authorization, body_bytes, body) VALUES (?, ?, ?, ?, ?, ?, ?, ?) RETURNING seq");
    s.bind(1, r.receivedAt)
        .bind(2, r.method)
        .bind(3, r.path)
        .bind(4, int64_t{r.status})
        .bind(5, r.headersJson)
        .bind(6, int64_t{r.hadAuthorization})
        .bind(7, r.bodyBytes)
        .bind(8, r.body);
    const int64_t seq = s.step() ? s.int64(0) : 0;
    s.run();
    return seq;
}

std::vector<ReceivedRequest> DevStore::receivedRequests()
{
    sqlite::Statement s(m_db, "SELECT seq, received_at, method, path, status, headers, had_authorization, "
                              "body_bytes, body FROM received_requests ORDER BY seq");
    std::vector<ReceivedRequest> rows;
    while (s.step())
        rows.push_back({s.int64(0), s.text(1), s.text(2), s.text(3), static_cast<int>(s.int64(4)), s.text(5),
                        s.int64(6) != 0, s.int64(7), s.optionalText(8)});
    return rows;
}

} // namespace quorva::devservice
