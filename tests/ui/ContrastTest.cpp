// Every text and icon a parent sees is readable, in the light and in the dark palette of the
// desktop: 4.5:1 for text and 3:1 for icons (WCAG AA), measured on the rendered window.
#include "UiHarness.h"

#include <QGuiApplication>
#include <QImage>
#include <QPalette>

#include <cmath>
#include <map>

namespace quorva::uitest {
namespace {

double contrast(const QColor& a, const QColor& b)
{
    const auto linear = [](double c) {
        return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    const auto luminance = [&](const QColor& colour) {
        return 0.2126 * linear(colour.redF()) + 0.7152 * linear(colour.greenF()) +
               0.0722 * linear(colour.blueF());
    };
    const auto [dark, light] = std::minmax({luminance(a), luminance(b)}); // by value: no temporaries kept
    return (light + 0.05) / (dark + 0.05);
}

// What an item sits on: the commonest colour of a thin frame just outside it in the rendered
// window (glyphs and a filled icon cover much of their own box, so the inside would mislead).
QColor backgroundAround(const QImage& image, const QRect& box)
{
    const QRect frame = box.adjusted(-3, -3, 3, 3).intersected(image.rect());
    std::map<QRgb, int> counts;
    for (int y = frame.top(); y <= frame.bottom(); ++y)
        for (int x = frame.left(); x <= frame.right(); ++x)
            counts[image.pixel(x, y)] += !frame.adjusted(1, 1, -1, -1).contains(x, y);
    return QColor(std::ranges::max_element(counts, {}, &std::pair<const QRgb, int>::second)->first);
}

// The rendered items under `item` that draw a text or a tinted icon, each against its own
// background. Disabled controls are exempt, as WCAG exempts inactive components.
void checkItems(QQuickItem* item, const QImage& image, int& checked)
{
    if (!item->isVisible() || !item->isEnabled() || item->opacity() == 0)
        return;
    const bool isText = item->inherits("QQuickText") || item->inherits("QQuickTextInput");
    const QVariant tint = item->property("color"); // icons drawn in one colour have one
    const QColor colour = tint.value<QColor>();
    const QString text = item->property("text").toString().trimmed();
    const QRect box = item->mapRectToScene(item->boundingRect()).toAlignedRect();
    const bool isIcon = item->inherits("QQuickImage") && tint.isValid() && colour.alpha() > 0;
    if (((isText && !text.isEmpty()) || isIcon) && !box.isEmpty() && image.rect().contains(box)) {
        const QColor back = backgroundAround(image, box);
        double alpha = colour.alphaF();
        for (const QQuickItem* drawn = item; drawn; drawn = drawn->parentItem())
            alpha *= drawn->opacity();
        const auto mix = [&](double fore, double under) { return float(fore * alpha + under * (1 - alpha)); };
        const QColor front =
            QColor::fromRgbF(mix(colour.redF(), back.redF()), mix(colour.greenF(), back.greenF()),
                             mix(colour.blueF(), back.blueF()));
        ++checked;
        EXPECT_GE(contrast(front, back), isText ? 4.5 : 3.0)
            << (isText ? "text \"" + text.left(40).toStdString() + "\""
                       : "icon " + item->property("source").toString().section('/', -1).toStdString())
            << " " << front.name().toStdString() << " on " << back.name().toStdString();
    }
    for (QQuickItem* child : item->childItems())
        checkItems(child, image, checked);
}

// How a control's outline stands out from what is around it: from each side's middle, the
// strongest of the first pixels inside its box against the background just outside; the weakest
// side counts (WCAG's 3:1 for what identifies a control and its state).
double outlineContrast(const QImage& image, const QQuickItem* item)
{
    const QRect box = item->mapRectToScene(item->boundingRect()).toAlignedRect();
    const QColor back = backgroundAround(image, box);
    const QPoint middle = box.center();
    const std::pair<QPoint, QPoint> sides[] = {
        {{box.left(), middle.y()}, {1, 0}},
        {{box.right(), middle.y()}, {-1, 0}},
        {{middle.x(), box.top()}, {0, 1}},
        {{middle.x(), box.bottom()}, {0, -1}},
    };
    double weakest = 21;
    for (const auto& [start, step] : sides) {
        double strongest = 1;
        for (int depth = 0; depth < 4; ++depth)
            strongest = std::max(strongest, contrast(image.pixelColor(start + depth * step), back));
        weakest = std::min(weakest, strongest);
    }
    return weakest;
}

// The item that draws an object: itself, or for a popup the one under the window's overlay.
QQuickItem* drawnItem(QObject* object)
{
    if (auto* item = qobject_cast<QQuickItem*>(object))
        return item;
    auto* content = object ? object->property("contentItem").value<QQuickItem*>() : nullptr;
    while (content && content->parentItem() && !content->parentItem()->inherits("QQuickOverlay"))
        content = content->parentItem();
    return content;
}

// Runs in the desktop's palette: light here, and once more under GTK's dark theme through the
// gtk3 platform theme (the ctest entry ui.contrast.adwaita-dark). Controls without a text of their
// own to tell them by, the switch when off, the pickers and the focus mark, need 3:1 around them.
TEST(Contrast, TextsIconsAndControlsAreReadableInTheDesktopsPalette)
{
    const bool dark = QGuiApplication::palette().color(QPalette::Window).lightness() < 128;
    ASSERT_TRUE(dark || !qEnvironmentVariable("GTK_THEME").endsWith(QStringLiteral(":dark")))
        << "the gtk3 platform theme gave no dark palette";
    // The harness answers Qt's own folder dialog, also where the platform theme has a native one.
    QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
    UiHarness ui;
    ui.config.children = {{kAva, "Ava"}, {kBen, "Ben"}};
    ui.launch();
    // Tall enough that no card lies below the fold.
    ui.window().resize(860, 1400);
    QTest::mouseMove(&ui.window(), QPoint(850, 1390));

    const auto check = [&](const char* screen, const std::vector<QObject*>& shown) {
        SCOPED_TRACE(screen);
        UiHarness::spin(std::chrono::milliseconds(150));
        const QImage image = ui.window().grabWindow();
        int checked = 0;
        for (QObject* object : shown) {
            QQuickItem* item = drawnItem(object);
            ASSERT_NE(item, nullptr);
            checkItems(item, image, checked);
        }
        EXPECT_GE(checked, 1) << "nothing was checked";
    };
    check("first-start", {ui.find("contentView"), ui.find("menuBar")}); // the placeholder shows only here

    ui.click("pairingCodeField");
    ui.type("12");
    ui.click("pairButton");
    ASSERT_TRUE(UiHarness::waitFor([&] { return ui.shown("failureAlert"); }));
    EXPECT_EQ(ui.text("pairingCodeField"), "12") << "a refused code stays for correcting";
    check("failure-alert", {ui.find("failureAlert")});
    ui.press(Qt::Key_Return);
    ASSERT_TRUE(UiHarness::waitFor([&] { return !ui.shown("failureAlert"); }));
    EXPECT_EQ(ui.state().phase().kind(), Phase::Kind::failed);
    check("failed-alert-answered", {ui.find("contentView")});

    // The family set up: Ava's iPhone, Ben's with an old backup in the warning colour, and
    // Dad's in the folder, assigned to no one.
    ui.pair();
    ui.chooseBackupFolder(ui.familyBackups(480));
    ui.assign("AVA", kAva);
    ui.assign("BEN", kBen);
    ui.scanAndWait();
    ASSERT_EQ(ui.state().phase(), Phase::ready());
    check("set-up-and-checked", {ui.find("contentView")});
    // The header's menu with its red item, then the application menu with its shortcuts.
    for (QObject* menu :
         {ui.find("headerMenu"), ui.find("scanNowMenuItem")->property("menu").value<QObject*>()}) {
        QMetaObject::invokeMethod(menu, "open");
        ASSERT_TRUE(UiHarness::waitFor([&] { return menu->property("opened").toBool(); }));
        check(menu->objectName().isEmpty() ? "application-menu" : "header-menu", {menu});
        QMetaObject::invokeMethod(menu, "close");
    }

    ASSERT_FALSE(ui.state().launchesAtLogin());
    const auto measured = [&](const QQuickItem* item) {
        UiHarness::spin(std::chrono::milliseconds(100));
        return outlineContrast(ui.window().grabWindow(), item);
    };
    EXPECT_GE(measured(ui.find("launchAtLoginSwitch")->property("indicator").value<QQuickItem*>()), 3.0)
        << "the switch, off";
    for (const std::string& child : {kAva, kBen})
        EXPECT_GE(measured(ui.item(UiHarness::picker(child))), 3.0) << "the picker of " << child;
    for (const char* control : {"chooseBackupButton", "devicePicker-child-ava", "scanButton",
                                "launchAtLoginSwitch", "privacyCard", "headerMenuButton"}) {
        ui.press(Qt::Key_Tab); // to come back with the focus the keyboard gives
        ASSERT_TRUE(ui.tabTo(control)) << control << ", not " << ui.focused().toStdString();
        auto* ring = ui.item(control)->findChild<QQuickItem*>("focusRing");
        ASSERT_NE(ring, nullptr) << control;
        EXPECT_GE(measured(ring), 3.0) << "the focus mark of " << control;
    }
}

} // namespace
} // namespace quorva::uitest
