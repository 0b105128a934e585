#pragma once

#include "StoredRecords.h"

#include <string>
#include <vector>

namespace quorva::devservice {

// The received-requests page: {"requests": [...]} in arrival order. A JSON body appears verbatim
// as "body" (member order and spelling exactly as sent), an empty one as null, any other as the
// string "bodyText"; a body refused for its size only by "bodyBytes".
[[nodiscard]] std::string receivedPageJson(const std::vector<ReceivedRequest>& requests);

} // namespace quorva::devservice
