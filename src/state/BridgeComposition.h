#pragma once

#include "api/BridgeAPI.h"
#include "state/BridgeAppState.h"
#include "state/BridgePlatform.h"
#include "stores/Preferences.h"

#include <QString>
#include <QUrl>

#include <chrono>
#include <memory>
#include <optional>

class QNetworkAccessManager;
class QObject;

namespace quorva {

// What a test, or a build for the development service, changes about the composition; the
// defaults are the application's own.
struct CompositionOptions {
    std::optional<QUrl> serviceURL; // the information dictionary's origin when absent
    QString tokenService = QStringLiteral(QUORVA_APP_ID);
    std::chrono::milliseconds requestTimeout = BridgeAPI::defaultTimeout;
    std::chrono::milliseconds requestDeadline = BridgeAPI::defaultDeadline;
    std::optional<QString> lockPath; // beside the preferences when absent
    // The one preferences file every store of the state writes to.
    Preferences preferences = Preferences();
};

// The platform services as the application uses them at launch, around the given chooser.
[[nodiscard]] BridgePlatform defaultPlatform(decltype(BridgePlatform::chooseFolder) chooseFolder);

// The application's one set of collaborators, handed to a new state object: the one composition
// root, of the window, the CLI and the tests alike.
[[nodiscard]] std::unique_ptr<BridgeAppState> makeBridgeAppState(QNetworkAccessManager& network,
                                                                 BridgePlatform platform,
                                                                 const CompositionOptions& options = {},
                                                                 QObject* parent = nullptr);

} // namespace quorva
