#include "state/BridgeComposition.h"

#include "state/ComputerName.h"
#include "state/LoginItem.h"

namespace quorva {

BridgePlatform defaultPlatform(decltype(BridgePlatform::chooseFolder) chooseFolder)
{
    BridgePlatform platform;
    platform.chooseFolder = std::move(chooseFolder);
    platform.loginItem = std::make_shared<LoginItem>();
    platform.computerName = [] { return computerName(); };
    return platform;
}

std::unique_ptr<BridgeAppState> makeBridgeAppState(QNetworkAccessManager& session, BridgePlatform platform,
                                                   QObject* parent)
{
    return std::make_unique<BridgeAppState>(
        std::make_shared<BridgeAPI>(BridgeAPI::resolveBaseURL(), session),
        IPhoneBackupScanner(LocalRiskClassifier()), BridgeTokenStore(QStringLiteral(QUORVA_APP_ID),
                                                                     QStringLiteral("bridge-token")),
        BackupBookmarkStore(QStringLiteral("bridge.backup-bookmark")),
        UploadCheckpointStore(QStringLiteral("bridge.uploaded-message-ids"), 5000), std::move(platform), parent);
}

} // namespace quorva
