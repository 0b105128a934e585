#include "state/StateTexts.h"

#include "model/BridgeClientError.h"
#include "model/PlatformError.h"

#include <QDir>

namespace quorva::texts {

QString scanComplete(qint64 sent, qint64 accepted)
{
    if (sent == 0)
        return QStringLiteral("Scan complete. No new safety candidates found.");
    if (accepted < sent)
        return QStringLiteral("Scan complete. Quorva accepted %1 of %2 focused candidates; the others will be "
                              "sent again at the next scan.")
            .arg(accepted)
            .arg(sent);
    return QStringLiteral("Scan complete. ") + QString::number(sent) + QStringLiteral(" focused candidate") +
           (sent == 1 ? QString() : QStringLiteral("s")) + QStringLiteral(" reviewed by Quorva.");
}

QString failureText(std::exception_ptr failure)
{
    try {
        std::rethrow_exception(failure);
    } catch (const BridgeClientError& error) {
        return QString::fromStdString(error.description());
    } catch (const std::exception& error) {
        return QString::fromUtf8(error.what());
    } catch (...) {
        return QStringLiteral("An unexpected error occurred.");
    }
}

QString reportText(std::exception_ptr failure)
{
    QString text;
    try {
        std::rethrow_exception(failure);
    } catch (const PlatformError& error) {
        text = QString::fromStdString(error.reportText());
    } catch (...) {
        text = failureText(std::current_exception());
    }
    // Whatever else may quote a path, the home folder names the family's account.
    if (const QString home = QDir::homePath(); home.size() > 1)
        text.replace(home, QStringLiteral("~"));
    return text;
}

} // namespace quorva::texts
