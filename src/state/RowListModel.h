#pragma once

#include <QAbstractListModel>

#include <algorithm>
#include <vector>

namespace quorva {

// A list of value rows for QML, replaced as a whole by its owner.
class RowListModel : public QAbstractListModel {
    Q_OBJECT
    // Announced with every change, also one that keeps the number of rows: bindings that look a
    // row up follow it.
    Q_PROPERTY(int count READ count NOTIFY changed)

public:
    using QAbstractListModel::QAbstractListModel;

    [[nodiscard]] virtual int count() const = 0;
    [[nodiscard]] int rowCount(const QModelIndex& parent = {}) const override
    {
        return parent.isValid() ? 0 : count();
    }

signals:
    void changed();

protected:
    // Rows with the same keys in the same order are changed in place, so that the view keeps its
    // items (an open picker stays open, a focused one keeps its focus); any other list resets.
    template <typename Row, typename Key>
    void replaceRows(std::vector<Row>& rows, std::vector<Row> next, Key key)
    {
        if (next == rows)
            return;
        if (std::ranges::equal(next, rows, {}, key, key)) {
            rows = std::move(next);
            emit dataChanged(index(0), index(count() - 1));
        } else {
            beginResetModel();
            rows = std::move(next);
            endResetModel();
        }
        emit changed();
    }
};

} // namespace quorva
