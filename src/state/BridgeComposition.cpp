#include "state/BridgeComposition.h"

#include "devices/DeviceWatcher.h"
#include "platform/ComputerName.h"
#include "platform/LoginItem.h"

namespace quorva {

BridgePlatform defaultPlatform(decltype(BridgePlatform::chooseFolder) chooseFolder)
{
    BridgePlatform platform;
    platform.chooseFolder = std::move(chooseFolder);
    platform.loginItem = std::make_shared<LoginItem>();
    platform.computerName = [] { return computerName(); };
    platform.deviceWatcher = std::make_shared<DeviceWatcher>();
    return platform;
}

std::unique_ptr<BridgeAppState> makeBridgeAppState(QNetworkAccessManager& network, BridgePlatform platform,
                                                   const CompositionOptions& options, QObject* parent)
{
    const Preferences& preferences = options.preferences;
    SessionServices services{
        .api = std::make_shared<BridgeAPI>(options.serviceURL.value_or(BridgeAPI::resolveBaseURL()), network,
                                           options.requestTimeout, options.requestDeadline),
        .scanner = std::make_shared<const IPhoneBackupScanner>(LocalRiskClassifier()),
        .bookmarks = BackupBookmarkStore(preferences, QStringLiteral("bridge.backup-bookmark")),
        .checkpoint = UploadCheckpointStore(preferences, QStringLiteral("bridge.uploaded-message-ids"), 5000),
        .bindings = DeviceBindingStore(preferences, QStringLiteral("bridge.device-children")),
        .lock =
            std::make_shared<UserLock>(options.lockPath.value_or(UserLock::beside(preferences.fileName()))),
    };
    return std::make_unique<BridgeAppState>(
        BridgeStateParts{std::move(services),
                         BridgeTokenStore(options.tokenService, QStringLiteral("bridge-token")),
                         std::move(platform), preferences},
        parent);
}

} // namespace quorva
