#include "state/DeviceListModel.h"

#include "devices/DeviceTexts.h"

#include <algorithm>

namespace quorva {

DeviceListModel::DeviceListModel(First first, QObject* parent) : RowListModel(parent)
{
    if (first == First::noIPhone)
        m_rows.emplace_back(); // worded when shown, in the language then in use
}

void DeviceListModel::update(std::vector<DeviceRow> rows)
{
    if (!m_rows.empty() && m_rows.front().deviceId.isEmpty())
        rows.insert(rows.begin(), m_rows.front());
    replaceRows(m_rows, std::move(rows), &DeviceRow::deviceId);
}

int DeviceListModel::indexOf(const QString& deviceId) const
{
    const auto row = std::ranges::find(m_rows, deviceId, &DeviceRow::deviceId);
    return row == m_rows.end() ? -1 : static_cast<int>(row - m_rows.begin());
}

QString DeviceListModel::nameOf(const QString& deviceId) const
{
    const auto row = std::ranges::find(m_rows, deviceId, &DeviceRow::deviceId);
    return deviceId.isEmpty() || row == m_rows.end() ? QString() : row->name;
}

QVariant DeviceListModel::data(const QModelIndex& index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const DeviceRow& row = m_rows[static_cast<std::size_t>(index.row())];
    switch (role) {
    case DeviceIdRole:
        return row.deviceId;
    case Qt::DisplayRole:
    case NameRole:
        return row.deviceId.isEmpty() ? tr("No iPhone") : row.name;
    case ProductTypeRole:
        return row.productType;
    case LastBackupAtRole:
        return row.lastBackupAt;
    case StateRole:
        return row.state;
    case ChildIdRole:
        return row.childId;
    case ChildNameRole:
        return row.childName;
    case AssignedToNoOneRole:
        return row.assignedToNoOne;
    case ConnectedRole:
        return row.connected;
    case BackingUpRole:
        return row.backingUp;
    case UntrustedRole:
        return row.untrusted;
    case ActivityRole:
        return texts::activityText(row.activity);
    default:
        return {};
    }
}

QHash<int, QByteArray> DeviceListModel::roleNames() const
{
    return {{DeviceIdRole, "deviceId"},
            {NameRole, "name"},
            {ProductTypeRole, "productType"},
            {LastBackupAtRole, "lastBackupAt"},
            {StateRole, "state"},
            {ChildIdRole, "childId"},
            {ChildNameRole, "childName"},
            {AssignedToNoOneRole, "assignedToNoOne"},
            {ConnectedRole, "connected"},
            {BackingUpRole, "backingUp"},
            {UntrustedRole, "untrusted"},
            {ActivityRole, "activity"}};
}

} // namespace quorva
