#include "state/FamilyModel.h"

#include <algorithm>

namespace quorva {

void FamilyModel::update(const std::vector<BridgeChild>& children,
                         const std::map<std::string, std::string>& bindings)
{
    std::vector<Row> rows;
    for (const BridgeChild& child : children) {
        const auto bound =
            std::ranges::find_if(bindings, [&](const auto& binding) { return binding.second == child.id; });
        rows.push_back({QString::fromStdString(child.id), QString::fromStdString(child.name),
                        bound == bindings.end() ? QString() : QString::fromStdString(bound->first)});
    }
    if (rows == m_rows)
        return;
    const bool sameChildren = std::ranges::equal(rows, m_rows, {}, &Row::childId, &Row::childId);
    if (sameChildren) {
        // A new binding or name: the rows stay, so a picker in one of them keeps its focus.
        m_rows = std::move(rows);
        emit dataChanged(index(0), index(count() - 1));
    } else {
        beginResetModel();
        m_rows = std::move(rows);
        endResetModel();
    }
    emit changed();
}

int FamilyModel::indexOf(const QString& childId) const
{
    const auto row = std::ranges::find(m_rows, childId, &Row::childId);
    return childId.isEmpty() || row == m_rows.end() ? -1 : static_cast<int>(row - m_rows.begin());
}

int FamilyModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : count();
}

QVariant FamilyModel::data(const QModelIndex& index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const Row& row = m_rows[static_cast<std::size_t>(index.row())];
    switch (role) {
    case ChildIdRole:
        return row.childId;
    case Qt::DisplayRole:
    case NameRole:
        return row.name;
    case DeviceIdRole:
        return row.deviceId;
    default:
        return {};
    }
}

QHash<int, QByteArray> FamilyModel::roleNames() const
{
    return {{ChildIdRole, "childId"}, {NameRole, "name"}, {DeviceIdRole, "deviceId"}};
}

} // namespace quorva
