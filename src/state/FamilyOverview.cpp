#include "state/FamilyOverview.h"

#include <QDateTime>

#include <algorithm>

namespace quorva {

namespace {

QString fromStd(const std::string& text)
{
    return QString::fromStdString(text);
}

QDate dayOf(Instant instant)
{
    return QDateTime::fromSecsSinceEpoch(static_cast<qint64>(instant.unixSeconds), Qt::UTC).date();
}

std::optional<Notice> attentionFor(const ChildOverview& row, Instant now)
{
    const QString name = fromStd(row.child.name);
    if (row.deviceMissing)
        return Notice{NoticeCase::assignedIPhoneMissing, {name}};
    if (!row.device)
        return Notice{NoticeCase::noIPhoneAssigned, {name}};
    if (row.device->isBeingWritten)
        return Notice{NoticeCase::backupBeingWritten, {name}};
    if (row.device->isEncrypted)
        return Notice{NoticeCase::encryptedBackupChosen, {name}};
    if (isOld(*row.device, now))
        return lastBackedUpOn(name, dayOf(*row.device->lastBackupAt));
    return std::nullopt;
}

bool isRecent(const BackupDescriptor& device, Instant now)
{
    // One being written now is as new as an iPhone gets.
    return device.isBeingWritten ||
           (device.lastBackupAt &&
            now.unixSeconds - device.lastBackupAt->unixSeconds <= kUnassignedNewsSeconds);
}

} // namespace

FamilyOverview overviewOf(const FamilyFacts& facts)
{
    FamilyOverview overview;
    const auto inFamily = [&](const std::string& childId) {
        return std::ranges::find(facts.children, childId, &BridgeChild::id) != facts.children.end();
    };
    for (const BackupDescriptor& device : facts.devices) {
        const auto binding = facts.bindings.find(device.id);
        if (binding == facts.bindings.end())
            overview.unassigned.push_back(device);
        else if (facts.childrenKnown && !inFamily(binding->second))
            overview.orphaned.push_back(device);
        else
            overview.toRead.emplace_back(device, binding->second);
    }

    // Proposals only where the choice is plain: one candidate iPhone, and one child it may be for.
    std::vector<const BackupDescriptor*> candidates;
    for (const BackupDescriptor& device : overview.unassigned)
        if (!device.isEncrypted && !facts.assignedToNoOne.contains(device.id))
            candidates.push_back(&device);
    std::size_t childrenWithout = 0;
    for (const BridgeChild& child : facts.children) {
        ChildOverview row;
        row.child = child;
        for (const auto& [deviceId, childId] : facts.bindings) {
            if (childId != child.id)
                continue;
            const auto device = std::ranges::find(facts.devices, deviceId, &BackupDescriptor::id);
            if (device == facts.devices.end())
                row.deviceMissing = true;
            else
                row.device = *device;
        }
        if (row.device)
            row.deviceMissing = false; // one of its iPhones is here: that one is read
        else if (!row.deviceMissing)
            ++childrenWithout;
        overview.children.push_back(std::move(row));
    }
    if (candidates.size() == 1) {
        for (ChildOverview& row : overview.children) {
            const bool onlyChildWithout = childrenWithout == 1 && !row.device && !row.deviceMissing;
            const bool earlier = facts.earlierChild == row.child.id && !row.device;
            if (onlyChildWithout || earlier) {
                row.proposedDeviceId = candidates.front()->id;
                break;
            }
        }
    }

    for (ChildOverview& row : overview.children) {
        row.attention = attentionFor(row, facts.now);
        if (row.attention)
            overview.notices.push_back(*row.attention);
    }
    for (const BackupDescriptor& device : overview.unassigned)
        if (isRecent(device, facts.now) && !facts.assignedToNoOne.contains(device.id))
            overview.familyNotices.push_back({NoticeCase::notAssignedToAnyone, {fromStd(device.deviceName)}});
    for (const BackupDescriptor& device : overview.orphaned)
        overview.familyNotices.push_back({NoticeCase::childLeftFamily, {fromStd(device.deviceName)}});
    overview.notices.insert(overview.notices.end(), overview.familyNotices.begin(),
                            overview.familyNotices.end());
    return overview;
}

} // namespace quorva
