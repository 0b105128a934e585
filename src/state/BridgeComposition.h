#pragma once

#include "state/BridgeAppState.h"
#include "state/BridgePlatform.h"

#include <memory>

class QNetworkAccessManager;
class QObject;

namespace quorva {

// The platform services as the application uses them at launch, around the given chooser.
[[nodiscard]] BridgePlatform defaultPlatform(decltype(BridgePlatform::chooseFolder) chooseFolder);

// The application's one set of collaborators, built as at launch, handed to a new state object.
[[nodiscard]] std::unique_ptr<BridgeAppState> makeBridgeAppState(QNetworkAccessManager& session,
                                                                 BridgePlatform platform, QObject* parent = nullptr);

} // namespace quorva
