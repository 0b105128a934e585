#pragma once

#include <QTemporaryDir>

namespace quorva::test {

// A home, settings, data and cache folder of this test process's own, set before anything reads
// them: CTest runs test processes side by side, and they must never share preferences, folder
// references, autostart entries or the user lock. The secret store is the session's
// (scripts/with-private-session); tests keep their items apart by name.
class PrivateHome {
public:
    PrivateHome()
    {
        for (const char* name : {"HOME", "XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME"})
            qputenv(name, (m_folder.path() + QLatin1Char('/') + QString::fromLatin1(name)).toUtf8());
        if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR"))
            qputenv("XDG_RUNTIME_DIR", m_runtime.path().toUtf8());
    }

private:
    QTemporaryDir m_folder;
    QTemporaryDir m_runtime;
};

} // namespace quorva::test
