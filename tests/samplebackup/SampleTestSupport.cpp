#include "SampleTestSupport.h"

#include <gtest/gtest.h>
#include <plist/plist.h>
#include <sqlite3.h>

#include <cstdio>
#include <fstream>
#include <random>
#include <sstream>

namespace quorva::samples::testing {

ScratchFolder::ScratchFolder()
{
    std::random_device entropy;
    m_path = std::filesystem::temp_directory_path() / ("quorva-samples-" + std::to_string(entropy()));
    std::filesystem::create_directories(m_path);
}

ScratchFolder::~ScratchFolder()
{
    std::error_code ignored;
    std::filesystem::remove_all(m_path, ignored);
}

std::string readBytes(const std::filesystem::path& file)
{
    std::ifstream in(file, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

std::vector<uint8_t> fromHex(std::string_view hex)
{
    std::vector<uint8_t> bytes;
    for (size_t i = 0; i + 1 < hex.size(); i += 2)
        bytes.push_back(static_cast<uint8_t>(std::stoi(std::string(hex.substr(i, 2)), nullptr, 16)));
    return bytes;
}

std::vector<std::vector<Cell>> query(const std::filesystem::path& database, const std::string& sql)
{
    std::vector<std::vector<Cell>> rows;
    sqlite3* db = nullptr;
    const std::string name = database.string();
    const std::string uri = "file:" + name + (name.find('?') == std::string::npos ? "?" : "&") + "mode=ro";
    if (sqlite3_open_v2(uri.c_str(), &db, SQLITE_OPEN_READONLY | SQLITE_OPEN_URI, nullptr) != SQLITE_OK) {
        ADD_FAILURE() << "cannot open " << database << ": " << sqlite3_errmsg(db);
        sqlite3_close(db);
        return rows;
    }
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &statement, nullptr) != SQLITE_OK) {
        ADD_FAILURE() << sql << ": " << sqlite3_errmsg(db);
    } else {
        while (sqlite3_step(statement) == SQLITE_ROW) {
            std::vector<Cell> row;
            for (int i = 0; i < sqlite3_column_count(statement); ++i) {
                if (sqlite3_column_type(statement, i) == SQLITE_NULL) {
                    row.emplace_back();
                } else {
                    const auto* data = static_cast<const char*>(sqlite3_column_blob(statement, i));
                    row.emplace_back(std::string(data ? data : "", sqlite3_column_bytes(statement, i)));
                }
            }
            rows.push_back(std::move(row));
        }
    }
    sqlite3_finalize(statement);
    sqlite3_close(db);
    return rows;
}

std::optional<std::string> plistValue(const std::filesystem::path& file, const char* key)
{
    const std::string bytes = readBytes(file);
    plist_t root = nullptr;
    plist_from_memory(bytes.data(), static_cast<uint32_t>(bytes.size()), &root);
    if (!root)
        return std::nullopt;
    std::optional<std::string> result;
    if (plist_t node = plist_get_node_type(root) == PLIST_DICT ? plist_dict_get_item(root, key) : nullptr) {
        switch (plist_get_node_type(node)) {
        case PLIST_STRING: {
            char* text = nullptr;
            plist_get_string_val(node, &text);
            result = text;
            free(text);
            break;
        }
        case PLIST_BOOLEAN: {
            uint8_t value = 0;
            plist_get_bool_val(node, &value);
            result = value ? "true" : "false";
            break;
        }
        case PLIST_UINT: {
            uint64_t value = 0;
            plist_get_uint_val(node, &value);
            result = std::to_string(value);
            break;
        }
        case PLIST_DATE: {
            int32_t seconds = 0, micros = 0;
            plist_get_date_val(node, &seconds, &micros);
            char text[64];
            std::snprintf(text, sizeof text, "%.6f", seconds + micros / 1e6 + 978307200.0);
            result = text;
            break;
        }
        default:
            result = "<other>";
        }
    }
    plist_free(root);
    return result;
}

} // namespace quorva::samples::testing
