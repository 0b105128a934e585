#pragma once

#include <QLoggingCategory>

// Quiet unless enabled ("quorva.stores.debug=true"); never carries a token or a stored value.
Q_DECLARE_LOGGING_CATEGORY(lcStores)
