#pragma once

#include "devices/DeviceActivity.h"
#include "state/RowListModel.h"

#include <QDateTime>
#include <QString>

#include <vector>

namespace quorva {

// One iPhone of the chosen folder as the window lists it.
struct DeviceRow {
    QString deviceId;
    QString name;
    QString productType;    // empty when the backup does not say
    QDateTime lastBackupAt; // invalid when unknown
    QString state;          // "finished", "being written", "encrypted"
    QString childId;        // empty when not assigned
    QString childName;      // empty when not assigned or the child is not known
    bool assignedToNoOne = false;
    bool connected = false;
    bool backingUp = false;
    bool untrusted = false;
    DeviceActivity activity; // of a backup made here, worded where it is shown

    friend bool operator==(const DeviceRow&, const DeviceRow&) = default;
};

// iPhones of the chosen folder, as a child's picker or the list of unassigned ones shows them.
class DeviceListModel : public quorva::RowListModel { // qualified, for QML's type registrar
    Q_OBJECT

public:
    enum Role {
        DeviceIdRole = Qt::UserRole + 1,
        NameRole,
        ProductTypeRole,
        LastBackupAtRole,
        StateRole,
        ChildIdRole,
        ChildNameRole,
        AssignedToNoOneRole,
        ConnectedRole,
        BackingUpRole,
        UntrustedRole,
        ActivityRole,
    };
    // A picker offers "No iPhone" (an empty id) before the iPhones.
    enum class First { anIPhone, noIPhone };

    explicit DeviceListModel(First first = First::anIPhone, QObject* parent = nullptr);

    void update(std::vector<DeviceRow> rows);
    [[nodiscard]] const std::vector<DeviceRow>& rows() const { return m_rows; }

    [[nodiscard]] int count() const override { return static_cast<int>(m_rows.size()); }
    // The row of the iPhone, "No iPhone" for an empty id where it is offered; -1 for none.
    Q_INVOKABLE [[nodiscard]] int indexOf(const QString& deviceId) const;
    // The iPhone's name; empty for an unknown one.
    Q_INVOKABLE [[nodiscard]] QString nameOf(const QString& deviceId) const;

    [[nodiscard]] QVariant data(const QModelIndex& index, int role) const override;
    [[nodiscard]] QHash<int, QByteArray> roleNames() const override;

private:
    std::vector<DeviceRow> m_rows;
};

} // namespace quorva
