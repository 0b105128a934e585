#pragma once

#include "state/BridgeAppState.h"

#include <QObject>
#include <QtQml/qqmlregistration.h>

namespace quorva {

// The state object as QML knows it: a type to declare properties with and to take the phase
// names from (BridgeAppState.Failed …), never made in QML.
struct BridgeAppStateForeign {
    Q_GADGET
    QML_FOREIGN(quorva::BridgeAppState)
    QML_NAMED_ELEMENT(BridgeAppState)
    QML_UNCREATABLE("The application makes the one state object.")
};

// What every list of rows has for QML: its count.
struct RowListModelForeign {
    Q_GADGET
    QML_FOREIGN(quorva::RowListModel)
    QML_ANONYMOUS
};

// The children with their iPhones, a list QML only reads.
struct FamilyModelForeign {
    Q_GADGET
    QML_FOREIGN(quorva::FamilyModel)
    QML_ANONYMOUS
};

// The iPhones of the folder, a list QML only reads.
struct DeviceListModelForeign {
    Q_GADGET
    QML_FOREIGN(quorva::DeviceListModel)
    QML_ANONYMOUS
};

} // namespace quorva
