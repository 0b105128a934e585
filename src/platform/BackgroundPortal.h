#pragma once

#include <QString>

namespace quorva {

// Asks the desktop's Background portal (org.freedesktop.portal.Background) to let Bridge go on
// without a window, giving the parent's desktop the reason. Where there is no portal, nothing
// happens; the answer is not awaited, as the portal's own dialog may take a while.
void requestRunningInBackground(const QString& reason);

} // namespace quorva
