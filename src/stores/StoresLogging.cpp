#include "stores/StoresLogging.h"

Q_LOGGING_CATEGORY(lcStores, "quorva.stores", QtWarningMsg)
