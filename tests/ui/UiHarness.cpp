#include "UiHarness.h"

#include "platform/LoginItem.h"
#include "state/BridgeComposition.h"

#include <QCoreApplication>
#include <QPointer>

namespace quorva::uitest {

namespace {

// The first object under `root` that matches, through the object tree and the item tree (popups'
// content is reparented into the scene, so only its parent items reach it).
QObject* search(QObject* root, const std::function<bool(QObject*)>& match)
{
    if (match(root))
        return root;
    QObjectList next = root->children();
    if (auto* item = qobject_cast<QQuickItem*>(root)) {
        for (QQuickItem* child : item->childItems())
            if (child->parent() != root)
                next << child;
    }
    for (QObject* child : next)
        if (QObject* found = search(child, match))
            return found;
    return nullptr;
}

} // namespace

void UiHarness::launch(QuorvaBridgeApp::Start start)
{
    startService();
    m_app = std::make_unique<QuorvaBridgeApp>(
        [this](QNetworkAccessManager& network, BridgePlatform platform) {
            // The entry would start the application beside this executable, which tests lack.
            platform.loginItem = std::make_shared<LoginItem>(
                LoginItem::defaultAutostartFolder(), QStringList{QCoreApplication::applicationFilePath()});
            if (deviceWatcher)
                platform.deviceWatcher = deviceWatcher;
            if (!backupTool.isEmpty())
                platform.backupTool = backupTool;
            return makeBridgeAppState(network, std::move(platform),
                                      {.serviceURL = serviceURL(),
                                       .tokenService = test::tokenService(),
                                       .requestTimeout = std::chrono::seconds(5)});
        },
        start);
    QSignalSpy startupFinished(m_app.get(), &QuorvaBridgeApp::startupFinished);
    if (start == QuorvaBridgeApp::Start::withWindow) {
        ASSERT_NE(m_app->window(), nullptr) << "the window's QML did not load";
        m_app->showWindow();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(m_app->window()));
    }
    ASSERT_TRUE(waitFor([&] { return !startupFinished.empty(); })) << "start-up did not finish";
}

void UiHarness::chooseBackupFolder(const std::filesystem::path& folder)
{
    const auto before = state().backupFolder();
    const Phase phaseBefore = state().phase();
    click(QStringLiteral("chooseBackupButton"));
    QObject* dialog = openFolderDialog();
    ASSERT_NE(dialog, nullptr) << "no folder dialog";
    const QUrl url = QUrl::fromLocalFile(QString::fromStdString(folder.string()));
    dialog->setProperty("currentFolder", url);
    dialog->setProperty("selectedFolder", url);
    QMetaObject::invokeMethod(dialog, "accept");
    ASSERT_TRUE(waitFor([&] { return state().backupFolder() != before || state().phase() != phaseBefore; }))
        << "the folder choice changed nothing";
}

QObject* UiHarness::openFolderDialog()
{
    return waitFor([&] { return shown("backupFolderDialog"); }) ? find("backupFolderDialog") : nullptr;
}

void UiHarness::answerFolderDialogByKeyboard(const std::optional<std::filesystem::path>& folder)
{
    QObject* dialog = openFolderDialog();
    ASSERT_NE(dialog, nullptr) << "no folder dialog";
    spin(std::chrono::milliseconds(100));
    if (folder) {
        // Into the folder itself, which is then the answer: Ctrl+L edits the path, Return goes there.
        press(Qt::Key_L, Qt::ControlModifier);
        press(Qt::Key_A, Qt::ControlModifier);
        type(QString::fromStdString(folder->string()));
        press(Qt::Key_Return);
        const QUrl url = QUrl::fromLocalFile(QString::fromStdString(folder->string()));
        ASSERT_TRUE(waitFor([&] { return dialog->property("currentFolder").toUrl() == url; }));
        spin(std::chrono::milliseconds(200)); // the folders within are listed meanwhile
    }
    const QString confirm = dialog->property("acceptLabel").toString();
    const auto focusedText = [&] {
        QQuickItem* focused = window().activeFocusItem();
        return focused ? focused->property("text").toString() : QString();
    };
    for (int i = 0; i < 10 && focusedText() != confirm; ++i)
        press(Qt::Key_Tab);
    ASSERT_EQ(focusedText(), confirm);
    press(Qt::Key_Space);
}

void UiHarness::pickByKeyboard(const std::string& childId, const QString& deviceId)
{
    ASSERT_TRUE(tabTo(picker(childId)));
    QObject* box = find(picker(childId));
    int wanted = -1;
    QMetaObject::invokeMethod(box, "indexOfValue", Q_RETURN_ARG(int, wanted), Q_ARG(QVariant, deviceId));
    ASSERT_GE(wanted, 0) << "not offered: " << deviceId.toStdString();
    press(Qt::Key_Space);
    ASSERT_TRUE(
        waitFor([&] { return box->property("popup").value<QObject*>()->property("opened").toBool(); }));
    for (int i = 0; i < 10 && box->property("highlightedIndex").toInt() != wanted; ++i)
        press(box->property("highlightedIndex").toInt() < wanted ? Qt::Key_Down : Qt::Key_Up);
    ASSERT_EQ(box->property("highlightedIndex").toInt(), wanted);
    press(Qt::Key_Return);
}

QObject* UiHarness::find(const QString& objectName) const
{
    QQuickWindow* shown = m_app ? m_app->window() : nullptr;
    return shown ? search(shown, [&](QObject* object) { return object->objectName() == objectName; })
                 : nullptr;
}

bool UiHarness::shown(const QString& objectName) const
{
    QObject* object = find(objectName);
    auto* asItem = qobject_cast<QQuickItem*>(object);
    return asItem ? asItem->isVisible() && asItem->window() && asItem->window()->isVisible()
                  : object && object->property("visible").toBool();
}

int UiHarness::pixelsNear(const QRect& area, const QColor& colour, int tolerance, const QRect& skip)
{
    const QImage image = window().grabWindow();
    const qreal scale = qreal(image.width()) / window().width(); // the grab may not say its own ratio
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            if (skip.contains(x, y))
                continue;
            const QColor pixel = image.pixelColor(QPoint(int(x * scale), int(y * scale)));
            count += std::max({std::abs(pixel.red() - colour.red()), std::abs(pixel.green() - colour.green()),
                               std::abs(pixel.blue() - colour.blue())}) <= tolerance;
        }
    }
    return count;
}

bool UiHarness::inView(const QQuickItem* target) const
{
    QQuickItem* scroller = item(QStringLiteral("contentScroller"));
    const QRectF area = target->mapRectToItem(scroller, target->boundingRect());
    return area.top() >= 0 && area.bottom() <= scroller->height();
}

void UiHarness::closeWindow()
{
    QPointer<QQuickWindow> closed = &window();
    closed->close();
    ASSERT_TRUE(waitFor([&] { return closed.isNull(); })) << "the closed window's scene is kept";
}

void UiHarness::click(const QString& objectName)
{
    QQuickItem* target = item(objectName);
    ASSERT_NE(target, nullptr) << objectName.toStdString();
    // Into view first: the column scrolls, and a click lands only where the item is drawn.
    auto* scroller = item(QStringLiteral("contentScroller"));
    if (scroller && scroller->isAncestorOf(target)) {
        const QRectF inScroller = target->mapRectToItem(scroller, target->boundingRect());
        const qreal contentY = scroller->property("contentY").toReal();
        if (inScroller.bottom() > scroller->height())
            scroller->setProperty("contentY", contentY + inScroller.bottom() - scroller->height() + 10);
        else if (inScroller.top() < 0)
            scroller->setProperty("contentY", contentY + inScroller.top() - 10);
        spin(std::chrono::milliseconds(20));
    }
    const QPointF centre = target->mapToScene(QPointF(target->width() / 2, target->height() / 2));
    QTest::mouseClick(target->window(), Qt::LeftButton, Qt::NoModifier, centre.toPoint());
}

void UiHarness::savePicture(const QString& name)
{
    const QString folder = qEnvironmentVariable("QUORVA_PICTURE_DIR");
    if (folder.isEmpty())
        return;
    spin(std::chrono::milliseconds(300)); // popups fade in
    const QString suffix = qEnvironmentVariable("QUORVA_PICTURE_SUFFIX", QStringLiteral("light"));
    const QString file = QStringLiteral("%1/%2-%3.png").arg(folder, name, suffix);
    EXPECT_TRUE(window().grabWindow().save(file)) << file.toStdString();
}

bool UiHarness::tabTo(const QString& objectName)
{
    for (int i = 0; i < 20 && focused() != objectName; ++i)
        press(Qt::Key_Tab);
    return focused() == objectName;
}

} // namespace quorva::uitest
