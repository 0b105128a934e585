// A second process for the tests: prints what the preferences hold under a key, as a later run of
// the application would find it.
#include "stores/Preferences.h"
#include "stores/UploadCheckpointStore.h"

#include <QCoreApplication>
#include <QTextStream>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList arguments = app.arguments();
    if (arguments.size() != 3)
        return 2;
    const QString& what = arguments[1];
    const QString& key = arguments[2];

    QTextStream out(stdout);
    const std::optional<QVariant> value = quorva::Preferences().value(key);
    out << (value ? QString::fromLatin1(value->typeName() ? value->typeName() : "invalid")
                  : QStringLiteral("absent"))
        << '\n';
    if (what == QLatin1String("checkpoint")) {
        for (const std::string& id : quorva::UploadCheckpointStore(quorva::Preferences(), key).identifiers())
            out << QString::fromStdString(id) << '\n';
    } else if (what == QLatin1String("bytes")) {
        out << quorva::Preferences().bytes(key).value_or(QByteArray()).toHex() << '\n';
    } else if (what == QLatin1String("string")) {
        out << quorva::Preferences().string(key).value_or(QStringLiteral("<none>")) << '\n';
    } else {
        return 2;
    }
    return 0;
}
