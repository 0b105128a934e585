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

QDBusArgument& operator<<(QDBusArgument& argument, const Case& value)
{
    argument.beginStructure();
    argument << value.name << value.arguments;
    argument.endStructure();
    return argument;
}

const QDBusArgument& operator>>(const QDBusArgument& argument, Case& value)
{
    argument.beginStructure();
    argument >> value.name >> value.arguments;
    argument.endStructure();
    return argument;
}

void registerTypes()
{
    qDBusRegisterMetaType<QList<QVariantMap>>();
    qDBusRegisterMetaType<Case>();
    qDBusRegisterMetaType<QList<Case>>();
}

} // namespace quorva::bus
