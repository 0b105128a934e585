#include "AppInfo.h"

#include <QDesktopServices>

namespace quorva {

QString AppInfo::version()
{
    return QStringLiteral(QUORVA_VERSION);
}

QUrl AppInfo::helpPage()
{
    return QUrl(QStringLiteral(QUORVA_HELP_PAGE));
}

QString AppInfo::licence() const
{
    return tr("© 2026 Quorva. All rights reserved. Quorva Bridge is proprietary software.");
}

void AppInfo::openHelpPage() const
{
    QDesktopServices::openUrl(helpPage());
}

} // namespace quorva
