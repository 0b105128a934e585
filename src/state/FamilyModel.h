#pragma once

#include <QDateTime>
#include <QString>

#include "devices/DeviceActivity.h"
#include "state/RowListModel.h"

#include <vector>

namespace quorva {

// One child of the family as the set-up card shows it.
struct FamilyRow {
    QString childId;
    QString name;
    QString deviceId; // empty when no iPhone in the folder is bound to the child
    QString deviceName;
    QString productType;
    QDateTime lastBackupAt; // invalid when unknown
    bool backupIsOld = false;
    // "finished", "being written", "encrypted"; "missing" when the bound iPhone is not in the
    // folder; empty when none is bound.
    QString deviceState;
    bool connected = false;
    bool backingUp = false;
    bool untrusted = false;
    DeviceActivity activity;  // of a backup made here, worded where it is shown
    QString lastScan;         // what the last scan found for the child, empty before one
    QString proposedDeviceId; // offered to the parent, not bound
    QString attention;        // why the child needs the parent, empty when it does not

    friend bool operator==(const FamilyRow&, const FamilyRow&) = default;
};

// The family's children, each with the iPhone bound to it, as the window lists them.
class FamilyModel : public quorva::RowListModel { // qualified, for QML's type registrar
    Q_OBJECT

public:
    enum Role {
        ChildIdRole = Qt::UserRole + 1,
        NameRole,
        DeviceIdRole,
        DeviceNameRole,
        ProductTypeRole,
        LastBackupAtRole,
        BackupIsOldRole,
        DeviceStateRole,
        ConnectedRole,
        BackingUpRole,
        UntrustedRole,
        ActivityRole,
        LastScanRole,
        ProposedDeviceIdRole,
        AttentionRole,
    };

    using RowListModel::RowListModel;

    void update(std::vector<FamilyRow> rows);
    [[nodiscard]] const std::vector<FamilyRow>& rows() const { return m_rows; }

    [[nodiscard]] int count() const override { return static_cast<int>(m_rows.size()); }
    // The row of the child; -1 for none or an unknown one.
    Q_INVOKABLE [[nodiscard]] int indexOf(const QString& childId) const;

    [[nodiscard]] QVariant data(const QModelIndex& index, int role) const override;
    [[nodiscard]] QHash<int, QByteArray> roleNames() const override;

private:
    std::vector<FamilyRow> m_rows;
};

} // namespace quorva
