// Renders the application's SVG icon as PNGs for the hicolor theme's fixed sizes:
//   quorva-icon-sizes ICON.svg OUTPUT-FOLDER SIZE...
// writes OUTPUT-FOLDER/<size>x<size>/apps/<icon name>.png. Qt's SVG image plugin draws them, as
// it draws the icon in the window, so the two look alike at every size.
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QImageReader>
#include <QTextStream>

int main(int argc, char** argv)
{
    // Run at build time, where there may be no display.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    QStringList arguments = QCoreApplication::arguments().mid(1);
    QTextStream err(stderr);
    if (arguments.size() < 3) {
        err << "usage: quorva-icon-sizes ICON.svg OUTPUT-FOLDER SIZE...\n";
        return 2;
    }
    const QString svg = arguments.takeFirst();
    const QDir output(arguments.takeFirst());
    const QString name = QFileInfo(svg).completeBaseName() + QStringLiteral(".png");
    for (const QString& argument : arguments) {
        bool isNumber = false;
        const int size = argument.toInt(&isNumber);
        if (!isNumber || size <= 0) {
            err << "not a size: " << argument << '\n';
            return 2;
        }
        QImageReader reader(svg);
        reader.setScaledSize(QSize(size, size));
        const QImage image = reader.read();
        const QString folder = QStringLiteral("%1x%1/apps").arg(size);
        if (image.isNull() || !output.mkpath(folder) ||
            !image.save(output.filePath(folder + QLatin1Char('/') + name))) {
            err << "could not render " << svg << " at " << size << ": " << reader.errorString() << '\n';
            return 1;
        }
    }
    return 0;
}
