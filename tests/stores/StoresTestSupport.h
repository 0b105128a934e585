#pragma once

#include "Await.h"
#include "Printers.h"

#include <QStringList>

namespace quorva::test {

// Asks a second process what the preferences hold under key: the first line is the value's type
// ("absent" when there is none), the further lines what stores read from it.
QStringList probePreferences(const QString& what, const QString& key);

} // namespace quorva::test
