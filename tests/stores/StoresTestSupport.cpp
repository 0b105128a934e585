#include "StoresTestSupport.h"

#include <QProcess>

namespace quorva::test {

QStringList probePreferences(const QString& what, const QString& key)
{
    QProcess probe;
    probe.start(QStringLiteral(QUORVA_STORES_PROBE), {what, key});
    if (!probe.waitForFinished(30'000) || probe.exitCode() != 0)
        return {QStringLiteral("probe failed: ") + QString::fromUtf8(probe.readAllStandardError())};
    return QString::fromUtf8(probe.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
}

} // namespace quorva::test
