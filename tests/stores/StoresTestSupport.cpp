#include "StoresTestSupport.h"

#include <QByteArray>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace quorva::test {

namespace {

// Every test process gets a configuration folder of its own, set before the first QSettings is
// made; the probe process inherits it through XDG_CONFIG_HOME.
class PrivateConfiguration : public ::testing::Environment {
public:
    void SetUp() override
    {
        m_folder.emplace();
        ASSERT_TRUE(m_folder->isValid());
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_folder->path()));
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_folder->path());
    }
    void TearDown() override { m_folder.reset(); }

private:
    std::optional<QTemporaryDir> m_folder;
};

[[maybe_unused]] const auto* const privateConfiguration =
    ::testing::AddGlobalTestEnvironment(new PrivateConfiguration);

// QCoro keeps its own exception_ptr next to the result, so the result must be another type.
struct Outcome {
    std::exception_ptr failure;
};

QCoro::Task<Outcome> capture(QCoro::Task<> task)
{
    try {
        co_await std::move(task);
    } catch (...) {
        co_return Outcome{std::current_exception()};
    }
    co_return Outcome{};
}

} // namespace

std::exception_ptr failureOf(QCoro::Task<> task)
{
    return QCoro::waitFor(capture(std::move(task))).failure;
}

QStringList probePreferences(const QString& what, const QString& key)
{
    QProcess probe;
    probe.start(QStringLiteral(QUORVA_STORES_PROBE), {what, key});
    if (!probe.waitForFinished(30'000) || probe.exitCode() != 0)
        return {QStringLiteral("probe failed: ") + QString::fromUtf8(probe.readAllStandardError())};
    return QString::fromUtf8(probe.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
}

} // namespace quorva::test
