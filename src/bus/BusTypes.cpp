#include "bus/BusTypes.h"

#include <QDBusMetaType>

namespace quorva::bus {

namespace {
const QString errorPrefix = QStringLiteral(QUORVA_APP_ID ".Error.");
}

QString errorName(const QString& failureName)
{
    return errorPrefix + failureName.left(1).toUpper() + failureName.mid(1);
}

QString failureNameOf(const QString& errorName)
{
    if (!errorName.startsWith(errorPrefix) || errorName.size() == errorPrefix.size())
        return {};
    const QString name = errorName.mid(errorPrefix.size());
    return name.left(1).toLower() + name.mid(1);
}

void registerTypes()
{
    qDBusRegisterMetaType<QList<QVariantMap>>();
}

} // namespace quorva::bus
