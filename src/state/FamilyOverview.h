#pragma once

#include "model/BackupDescriptor.h"
#include "model/BridgeChild.h"
#include "model/Instant.h"
#include "state/Notice.h"

#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace quorva {

// One child as set-up shows it: the iPhone bound to it, and what the parent must know of it.
struct ChildOverview {
    BridgeChild child;
    std::optional<BackupDescriptor> device; // the bound iPhone's newest backup in the folder
    bool deviceMissing = false;             // an iPhone is bound to the child, but not in the folder
    // An iPhone to offer the parent for this child; it is bound only when the parent says so.
    std::optional<std::string> proposedDeviceId;
    std::optional<Notice> attention; // why this child needs the parent, if it does

    friend bool operator==(const ChildOverview&, const ChildOverview&) = default;
};

// The family against the folder: whose iPhone each backup is, and everything set-up leaves open.
struct FamilyOverview {
    std::vector<ChildOverview> children;
    std::vector<BackupDescriptor> unassigned; // in the folder, bound to no one
    // Bound to a child no longer in the family: kept, never read, until the parent changes it.
    std::vector<BackupDescriptor> orphaned;
    // Everything the parent must know, one line each: the children's attention, then the
    // folder's new unassigned iPhones and the orphaned ones.
    std::vector<Notice> notices;
    // Of those, the folder's and the family's: new unassigned iPhones and orphaned ones.
    std::vector<Notice> familyNotices;
    // The bound iPhones to read, each under its child.
    std::vector<std::pair<BackupDescriptor, std::string>> toRead;

    [[nodiscard]] bool needsAttention() const { return !notices.empty(); }
};

struct FamilyFacts {
    std::vector<BridgeChild> children;
    // False while the family could not be loaded: no binding is taken for a departed child then.
    bool childrenKnown = false;
    std::vector<BackupDescriptor> devices;       // each iPhone's newest backup in the folder
    std::map<std::string, std::string> bindings; // device to child
    std::set<std::string> assignedToNoOne;       // unassigned on purpose: no news
    // The child an earlier version had set up alone: its only candidate iPhone is proposed to it.
    std::optional<std::string> earlierChild;
    Instant now;
};

// An unassigned iPhone is news while its newest backup is this recent; older ones are old phones.
inline constexpr double kUnassignedNewsSeconds = 14 * 24 * 3600.0;

[[nodiscard]] FamilyOverview overviewOf(const FamilyFacts& facts);

} // namespace quorva
