// Every text and icon a parent sees is readable, in the light and in the dark palette of the
// desktop: 4.5:1 for text and 3:1 for icons (WCAG AA), measured on the rendered window.
#include "UiHarness.h"
#include "state/BridgeAppState.h"

#include <QGuiApplication>
#include <QImage>
#include <QPalette>
#include <QQuickItem>
#include <QQuickWindow>
#include <QTest>

#include <gtest/gtest.h>

#include <cmath>
#include <map>

namespace quorva::uitest {
namespace {

double relativeLuminance(const QColor& colour)
{
    const auto linear = [](double channel) {
        return channel <= 0.04045 ? channel / 12.92 : std::pow((channel + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(colour.redF()) + 0.7152 * linear(colour.greenF()) + 0.0722 * linear(colour.blueF());
}

double contrast(const QColor& a, const QColor& b)
{
    const double la = relativeLuminance(a);
    const double lb = relativeLuminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QColor over(const QColor& front, double alpha, const QColor& back)
{
    return QColor::fromRgbF(float(front.redF() * alpha + back.redF() * (1 - alpha)),
                            float(front.greenF() * alpha + back.greenF() * (1 - alpha)),
                            float(front.blueF() * alpha + back.blueF() * (1 - alpha)));
}

// What an item sits on: the commonest colour of a thin frame just outside it in the rendered
// window (glyphs and a filled icon cover much of their own box, so the inside would mislead).
QColor backgroundAround(const QImage& image, const QRect& box)
{
    const QRect frame = box.adjusted(-3, -3, 3, 3).intersected(image.rect());
    std::map<int, std::vector<QColor>> buckets;
    const auto sample = [&](int x, int y) {
        const QColor pixel = image.pixelColor(x, y);
        buckets[(pixel.red() >> 3) << 10 | (pixel.green() >> 3) << 5 | pixel.blue() >> 3].push_back(pixel);
    };
    for (int x = frame.left(); x <= frame.right(); ++x) {
        sample(x, frame.top());
        sample(x, frame.bottom());
    }
    for (int y = frame.top() + 1; y < frame.bottom(); ++y) {
        sample(frame.left(), y);
        sample(frame.right(), y);
    }
    const auto& commonest =
        std::max_element(buckets.begin(), buckets.end(),
                         [](const auto& a, const auto& b) { return a.second.size() < b.second.size(); })
            ->second;
    double r = 0, g = 0, b = 0;
    for (const QColor& pixel : commonest) {
        r += pixel.redF();
        g += pixel.greenF();
        b += pixel.blueF();
    }
    const auto n = double(commonest.size());
    return QColor::fromRgbF(float(r / n), float(g / n), float(b / n));
}

double effectiveOpacity(const QQuickItem* item)
{
    double opacity = 1;
    for (; item; item = item->parentItem())
        opacity *= item->opacity();
    return opacity;
}

// The rendered items under `root` that draw a text or a tinted icon, each checked against
// its own background. Disabled controls are exempt, as WCAG exempts inactive components.
struct Check {
    int checked = 0;
    std::vector<std::string> failures;
};

void checkItems(QQuickItem* item, const QImage& image, Check& check)
{
    if (!item->isVisible() || !item->isEnabled() || item->opacity() == 0)
        return;
    const bool isText = item->inherits("QQuickText") || item->inherits("QQuickTextInput");
    const bool isIcon = item->inherits("QQuickImage") && item->property("color").isValid();
    const QColor colour = item->property("color").value<QColor>();
    const QString text = item->property("text").toString().trimmed();
    if ((isText && !text.isEmpty()) || (isIcon && colour.alpha() > 0)) {
        const QRect box = item->mapRectToScene(item->boundingRect()).toAlignedRect();
        if (!box.isEmpty() && image.rect().contains(box)) {
            const QColor back = backgroundAround(image, box);
            const QColor front = over(colour, colour.alphaF() * effectiveOpacity(item), back);
            const double ratio = contrast(front, back);
            const double required = isText ? 4.5 : 3.0;
            ++check.checked;
            if (ratio < required)
                check.failures.push_back(
                    (isText ? "text \"" + text.left(40).toStdString() + "\""
                            : "icon " + item->property("source").toString().section('/', -1).toStdString()) +
                    " " + front.name().toStdString() + " on " + back.name().toStdString() + ": " +
                    std::to_string(ratio).substr(0, 4) + ":1, needs " + std::to_string(required).substr(0, 3));
        }
    }
    for (QQuickItem* child : item->childItems())
        checkItems(child, image, check);
}

// The item that draws a popup: the one under the window's overlay holding its content.
QQuickItem* drawnItem(QObject* object)
{
    auto* item = qobject_cast<QQuickItem*>(object);
    if (item)
        return item;
    auto* content = object ? object->property("contentItem").value<QQuickItem*>() : nullptr;
    while (content && content->parentItem() && !content->parentItem()->inherits("QQuickOverlay"))
        content = content->parentItem();
    return content;
}

struct Screen {
    std::string name;
    // Brings the window to this screen and names the objects whose items are checked.
    std::function<QStringList(UiHarness&)> show;
};

void openMenuOf(UiHarness& ui, const QString& itemName)
{
    QObject* menu = ui.find(itemName)->property("menu").value<QObject*>();
    ASSERT_NE(menu, nullptr);
    QMetaObject::invokeMethod(menu, "open");
    ASSERT_TRUE(UiHarness::waitFor([&] { return menu->property("opened").toBool(); }));
    menu->setObjectName(QStringLiteral("openMenu"));
}

// One walk through the window: each screen builds on the one before.
const std::vector<Screen> kScreens = {
    {"first start", [](UiHarness&) { return QStringList{"contentView", "menuBar"}; }},
    {"failure alert",
     [](UiHarness& ui) {
         ui.typeInto("pairingCodeField", "12");
         ui.click("pairButton");
         EXPECT_TRUE(UiHarness::waitFor([&] { return ui.shown("failureAlert"); }));
         return QStringList{"failureAlert"};
     }},
    {"failed, alert answered",
     [](UiHarness& ui) {
         ui.clickText("OK");
         EXPECT_TRUE(UiHarness::waitFor([&] { return !ui.shown("failureAlert"); }));
         EXPECT_EQ(ui.state().phase().kind(), Phase::Kind::failed);
         return QStringList{"contentView"};
     }},
    {"set up and checked",
     [](UiHarness& ui) {
         ui.pair();
         ui.chooseBackupFolder(ui.writeBackup("backups"));
         ui.scanAndWait();
         EXPECT_EQ(ui.state().phase(), Phase::ready());
         return QStringList{"contentView"};
     }},
    {"header menu",
     [](UiHarness& ui) {
         ui.click("headerMenuButton");
         EXPECT_TRUE(UiHarness::waitFor([&] { return ui.find("headerMenu")->property("opened").toBool(); }));
         return QStringList{"headerMenu"};
     }},
    {"application menu",
     [](UiHarness& ui) {
         QMetaObject::invokeMethod(ui.find("headerMenu"), "close");
         openMenuOf(ui, "scanNowMenuItem");
         return QStringList{"openMenu"};
     }},
};

// Runs in the desktop's palette: light here, and once more under GTK's dark theme through the
// gtk3 platform theme (the ctest entry ui.contrast.adwaita-dark).
TEST(Contrast, TextsAndIconsAreReadableInTheDesktopsPalette)
{
    const bool dark = QGuiApplication::palette().color(QPalette::Window).lightness() < 128;
    if (qEnvironmentVariable("GTK_THEME").endsWith(QStringLiteral(":dark")))
        ASSERT_TRUE(dark) << "the gtk3 platform theme gave no dark palette";
    // The folder is chosen in Qt's own dialog, which the harness answers, also where the
    // platform theme offers its native one.
    QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
    UiHarness ui;
    ui.launch();
    // Tall enough that no card lies below the fold.
    ui.window().resize(860, 1400);
    QTest::mouseMove(&ui.window(), QPoint(850, 1390));

    for (const Screen& screen : kScreens) {
        SCOPED_TRACE(screen.name);
        const QStringList roots = screen.show(ui);
        UiHarness::spin(std::chrono::milliseconds(150));
        const QImage image = ui.window().grabWindow();
        Check check;
        for (const QString& root : roots) {
            QQuickItem* item = drawnItem(ui.find(root));
            ASSERT_NE(item, nullptr) << root.toStdString();
            checkItems(item, image, check);
        }
        EXPECT_GE(check.checked, 1) << "nothing was checked";
        for (const std::string& failure : check.failures)
            ADD_FAILURE() << failure;
        std::string name = screen.name;
        std::replace(name.begin(), name.end(), ' ', '-');
        ui.snapshot("contrast-" + std::string(dark ? "dark-" : "light-") + name);
    }
}

} // namespace
} // namespace quorva::uitest
