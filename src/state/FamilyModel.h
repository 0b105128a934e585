#pragma once

#include "model/BridgeChild.h"

#include <QAbstractListModel>
#include <QString>

#include <map>
#include <string>
#include <vector>

namespace quorva {

// The family's children, each with the iPhone bound to it, as the window lists them.
class FamilyModel : public QAbstractListModel {
    Q_OBJECT
    // Announced with every change, also one that keeps the number of rows: bindings that look a
    // child up follow it.
    Q_PROPERTY(int count READ count NOTIFY changed)

public:
    enum Role { ChildIdRole = Qt::UserRole + 1, NameRole, DeviceIdRole };

    using QAbstractListModel::QAbstractListModel;

    void update(const std::vector<BridgeChild>& children, const std::map<std::string, std::string>& bindings);

    [[nodiscard]] int count() const { return static_cast<int>(m_rows.size()); }
    // The row of the child; -1 for none or an unknown one.
    Q_INVOKABLE [[nodiscard]] int indexOf(const QString& childId) const;

    [[nodiscard]] int rowCount(const QModelIndex& parent = {}) const override;
    [[nodiscard]] QVariant data(const QModelIndex& index, int role) const override;
    [[nodiscard]] QHash<int, QByteArray> roleNames() const override;

signals:
    void changed();

private:
    struct Row {
        QString childId;
        QString name;
        QString deviceId; // empty when no iPhone is bound to the child
        friend bool operator==(const Row&, const Row&) = default;
    };
    std::vector<Row> m_rows;
};

} // namespace quorva
