#pragma once

#include "model/BackupDescriptor.h"
#include "model/ScannedMessage.h"

#include <cstdint>
#include <vector>

namespace quorva {

// What one scan of a backup yields. Neither compared nor hashed.
struct BackupScanResult {
    BackupDescriptor backup;
    int64_t inspectedCount = 0;             // messages read and classified, candidates or not
    int64_t futureDatedCount = 0;           // incoming messages dated over a day after the scan, unread
    std::vector<ScannedMessage> candidates; // newest first
};

} // namespace quorva
