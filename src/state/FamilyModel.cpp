#include "state/FamilyModel.h"

#include "devices/DeviceTexts.h"

#include <algorithm>

namespace quorva {

void FamilyModel::update(std::vector<FamilyRow> rows)
{
    replaceRows(m_rows, std::move(rows), &FamilyRow::childId);
}

int FamilyModel::indexOf(const QString& childId) const
{
    const auto row = std::ranges::find(m_rows, childId, &FamilyRow::childId);
    return childId.isEmpty() || row == m_rows.end() ? -1 : static_cast<int>(row - m_rows.begin());
}

QVariant FamilyModel::data(const QModelIndex& index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const FamilyRow& row = m_rows[static_cast<std::size_t>(index.row())];
    switch (role) {
    case ChildIdRole:
        return row.childId;
    case Qt::DisplayRole:
    case NameRole:
        return row.name;
    case DeviceIdRole:
        return row.deviceId;
    case DeviceNameRole:
        return row.deviceName;
    case ProductTypeRole:
        return row.productType;
    case LastBackupAtRole:
        return row.lastBackupAt;
    case BackupIsOldRole:
        return row.backupIsOld;
    case DeviceStateRole:
        return row.deviceState;
    case ConnectedRole:
        return row.connected;
    case BackingUpRole:
        return row.backingUp;
    case UntrustedRole:
        return row.untrusted;
    case ActivityRole:
        return texts::activityText(row.activity);
    case LastScanRole:
        return row.lastScan;
    case ProposedDeviceIdRole:
        return row.proposedDeviceId;
    case AttentionRole:
        return row.attention;
    default:
        return {};
    }
}

QHash<int, QByteArray> FamilyModel::roleNames() const
{
    return {{ChildIdRole, "childId"},         {NameRole, "name"},
            {DeviceIdRole, "deviceId"},       {DeviceNameRole, "deviceName"},
            {ProductTypeRole, "productType"}, {LastBackupAtRole, "lastBackupAt"},
            {BackupIsOldRole, "backupIsOld"}, {DeviceStateRole, "deviceState"},
            {ConnectedRole, "connected"},     {BackingUpRole, "backingUp"},
            {UntrustedRole, "untrusted"},     {ActivityRole, "activity"},
            {LastScanRole, "lastScan"},       {ProposedDeviceIdRole, "proposedDeviceId"},
            {AttentionRole, "attention"}};
}

} // namespace quorva
