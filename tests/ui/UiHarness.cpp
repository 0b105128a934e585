#include "UiHarness.h"

#include "state/BridgeComposition.h"

#include "SampleBackup.h"
#include "classifier/LocalRiskClassifier.h"
#include "state/BridgeAppState.h"
#include "state/LoginItem.h"
#include "stores/Preferences.h"

#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QNetworkReply>
#include <QQuickItem>
#include <QQuickWindow>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

namespace quorva::uitest {

namespace {

// Per process: ctest runs the tests side by side against the one session secret store.
QString tokenService()
{
    return QStringLiteral("app.quorva.bridge.ui-tests.%1").arg(QCoreApplication::applicationPid());
}

samples::SampleMessage incoming(std::string text, Instant date)
{
    samples::SampleMessage message;
    message.text = std::move(text);
    message.sender = "+15550100";
    message.date = date;
    return message;
}

QObject* findIn(QObject* root, const QString& objectName)
{
    if (!root)
        return nullptr;
    if (root->objectName() == objectName)
        return root;
    if (QObject* found = root->findChild<QObject*>(objectName))
        return found;
    // Items reparented into the scene (popups' content) are reached through their parent items.
    if (auto* rootItem = qobject_cast<QQuickItem*>(root)) {
        for (QQuickItem* child : rootItem->childItems())
            if (QObject* found = findIn(child, objectName))
                return found;
    }
    return nullptr;
}

QQuickItem* buttonWithText(QQuickItem* root, const QString& text)
{
    for (QQuickItem* child : root->childItems()) {
        if (!child->isVisible())
            continue;
        if (child->inherits("QQuickAbstractButton") && child->property("text").toString() == text)
            return child;
        if (QQuickItem* found = buttonWithText(child, text))
            return found;
    }
    return nullptr;
}

} // namespace

UiHarness::UiHarness(std::vector<BridgeChild> children, devservice::IngestFaults faults)
{
    devservice::DevServiceConfig config;
    config.faults = faults;
    config.databasePath = m_dir.filePath(QStringLiteral("service.sqlite")).toStdString();
    config.pairingCodes = {kPairingCode};
    config.children = std::move(children);
    m_service = std::make_unique<devservice::DevService>(config);
    if (m_service->listen(0) == 0)
        ADD_FAILURE() << "the development service could not listen";
    QDir().mkpath(QDir::homePath());
    // A fresh installation, also when several tests share this process.
    for (const char* key :
         {"bridge.selected-child-id", "bridge.backup-bookmark", "bridge.uploaded-message-ids", "bridge.pairing-id"})
        Preferences::remove(QString::fromLatin1(key));
    QCoro::waitFor(BridgeTokenStore(tokenService()).remove());
}

UiHarness::~UiHarness()
{
    m_app.reset();
    QCoro::waitFor(BridgeTokenStore(tokenService()).remove());
}

void UiHarness::launch(QuorvaBridgeApp::Start start)
{
    const QUrl serviceURL(QStringLiteral("http://127.0.0.1:%1").arg(m_service->port()));
    m_app = std::make_unique<QuorvaBridgeApp>(
        [serviceURL](QNetworkAccessManager& network, BridgePlatform platform) {
            // The entry would start the application beside this executable, which tests lack.
            platform.loginItem = std::make_shared<LoginItem>(
                LoginItem::defaultAutostartFolder(), QStringList{QCoreApplication::applicationFilePath()});
            return makeBridgeAppState(network, std::move(platform),
                                      {.serviceURL = serviceURL,
                                       .tokenService = tokenService(),
                                       .requestTimeout = std::chrono::seconds(10)});
        },
        start);
    QObject::connect(m_app.get(), &QuorvaBridgeApp::startupFinished, [this] { m_startupFinished = true; });
    if (start == QuorvaBridgeApp::Start::withWindow) {
        ASSERT_NE(m_app->window(), nullptr) << "the window's QML did not load";
        m_app->showWindow();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(m_app->window()));
    }
    ASSERT_TRUE(waitFor([this] { return m_startupFinished; })) << "start-up did not finish";
}

QQuickWindow& UiHarness::window()
{
    return *m_app->window();
}

void UiHarness::pair()
{
    state().setPairingCode(QString::fromStdString(kPairingCode));
    QCoro::waitFor(state().pair());
    ASSERT_TRUE(state().hasToken()) << state().phase().failureText().toStdString();
}

void UiHarness::chooseBackupFolder(const std::filesystem::path& folder)
{
    const auto before = state().selectedBackup();
    const Phase phaseBefore = state().phase();
    click(QStringLiteral("chooseBackupButton"));
    QObject* dialog = openFolderDialog();
    ASSERT_NE(dialog, nullptr) << "no folder dialog";
    const QUrl url = QUrl::fromLocalFile(QString::fromStdString(folder.string()));
    dialog->setProperty("currentFolder", url);
    dialog->setProperty("selectedFolder", url);
    QMetaObject::invokeMethod(dialog, "accept");
    ASSERT_TRUE(waitFor([&] { return state().selectedBackup() != before || state().phase() != phaseBefore; }))
        << "the folder choice changed nothing";
}

QObject* UiHarness::openFolderDialog()
{
    QObject* dialog = nullptr;
    const bool open = waitFor([&] {
        dialog = find(QStringLiteral("backupFolderDialog"));
        return dialog && dialog->property("visible").toBool();
    });
    return open ? dialog : nullptr;
}

void UiHarness::scanAndWait()
{
    ASSERT_TRUE(state().canScan());
    QCoro::waitFor(state().scanNow());
}

std::filesystem::path UiHarness::writeBackup(const std::string& folderName, const BackupOptions& options)
{
    const Instant now = Instant::now();
    samples::SampleBackupPlan plan;
    plan.udid = options.udid;
    plan.displayName = plan.deviceName = options.deviceName;
    if (options.dated) {
        plan.lastBackupDate = plan.statusDate = Instant{now.unixSeconds - 3600};
    } else {
        plan.lastBackupDate = plan.statusDate = std::nullopt;
        plan.writeStatusPlist = false;
    }
    plan.encrypted = options.encrypted;
    int minute = 1;
    for (int i = 0; i < options.risky; ++i)
        plan.messages.push_back(incoming("keep this secret from your parents " + std::to_string(i),
                                         {now.unixSeconds - 60.0 * minute++}));
    for (int i = 0; i < options.benign; ++i)
        plan.messages.push_back(
            incoming("see you at practice " + std::to_string(i), {now.unixSeconds - 60.0 * minute++}));
    return samples::writeSampleBackup(path(folderName), plan);
}

void UiHarness::hideManifest(const std::filesystem::path& backup, bool hidden)
{
    const auto shown = backup / "Manifest.db";
    const auto away = backup / "Manifest.db.away";
    std::filesystem::rename(hidden ? shown : away, hidden ? away : shown);
}

std::filesystem::path UiHarness::path(const std::string& name) const
{
    return std::filesystem::path(m_dir.path().toStdString()) / name;
}

QObject* UiHarness::find(const QString& objectName) const
{
    QQuickWindow* shown = m_app ? m_app->window() : nullptr;
    if (!shown)
        return nullptr;
    if (QObject* found = findIn(shown, objectName))
        return found;
    return findIn(shown->contentItem(), objectName);
}

QQuickItem* UiHarness::item(const QString& objectName) const
{
    return qobject_cast<QQuickItem*>(find(objectName));
}

QString UiHarness::text(const QString& objectName) const
{
    QObject* object = find(objectName);
    return object ? object->property("text").toString() : QStringLiteral("<no %1>").arg(objectName);
}

bool UiHarness::shown(const QString& objectName) const
{
    QObject* object = find(objectName);
    if (!object)
        return false;
    if (auto* asItem = qobject_cast<QQuickItem*>(object))
        return asItem->isVisible() && asItem->window() && asItem->window()->isVisible();
    return object->property("visible").toBool();
}

bool UiHarness::enabled(const QString& objectName) const
{
    QObject* object = find(objectName);
    return object && object->property("enabled").toBool();
}

void UiHarness::snapshot(const std::string& name)
{
    const QDir folder(QStringLiteral(QUORVA_UI_SNAPSHOT_DIR));
    folder.mkpath(QStringLiteral("."));
    // No event loop here: a state a test caught (a running scan) must not move on meanwhile.
    const QImage image = window().grabWindow();
    EXPECT_FALSE(image.isNull());
    image.save(folder.filePath(QString::fromStdString(name) + QStringLiteral(".png")));
}

int UiHarness::pixelsNear(const QString& objectName, const QColor& colour, int tolerance)
{
    return pixelsNear(item(objectName), colour, tolerance);
}

int UiHarness::pixelsNear(const QQuickItem* target, const QColor& colour, int tolerance)
{
    if (!target)
        return 0;
    const QImage image = window().grabWindow();
    const qreal scale = image.devicePixelRatio();
    const QRect area = target->mapRectToScene(target->boundingRect()).toAlignedRect();
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            const QColor pixel = image.pixelColor(QPoint(int(x * scale), int(y * scale)));
            if (std::abs(pixel.red() - colour.red()) <= tolerance &&
                std::abs(pixel.green() - colour.green()) <= tolerance &&
                std::abs(pixel.blue() - colour.blue()) <= tolerance)
                ++count;
        }
    }
    return count;
}

void UiHarness::scrollIntoView(QQuickItem* target)
{
    auto* scroller = item(QStringLiteral("contentScroller"));
    if (!scroller || !scroller->isAncestorOf(target))
        return;
    const QRectF inScroller = target->mapRectToItem(scroller, target->boundingRect());
    const qreal contentY = scroller->property("contentY").toReal();
    if (inScroller.bottom() > scroller->height())
        scroller->setProperty("contentY", contentY + inScroller.bottom() - scroller->height() + 10);
    else if (inScroller.top() < 0)
        scroller->setProperty("contentY", contentY + inScroller.top() - 10);
    spin(std::chrono::milliseconds(20));
}

void UiHarness::click(const QString& objectName)
{
    QQuickItem* target = item(objectName);
    ASSERT_NE(target, nullptr) << objectName.toStdString();
    clickItem(target);
}

void UiHarness::clickItem(QQuickItem* target)
{
    scrollIntoView(target);
    const QPointF centre = target->mapToScene(QPointF(target->width() / 2, target->height() / 2));
    QTest::mouseClick(target->window(), Qt::LeftButton, Qt::NoModifier, centre.toPoint());
}

void UiHarness::clickText(const QString& text)
{
    QQuickItem* target = buttonWithText(window().contentItem(), text);
    ASSERT_NE(target, nullptr) << "no button " << text.toStdString();
    clickItem(target);
}

void UiHarness::typeInto(const QString& objectName, const QString& text)
{
    click(objectName);
    type(text);
}

void UiHarness::type(const QString& text)
{
    for (const QChar character : text)
        QTest::keyClick(&window(), character.toLatin1());
}

void UiHarness::press(Qt::Key key, Qt::KeyboardModifiers modifiers)
{
    QTest::keyClick(&window(), key, modifiers);
}

QString UiHarness::focused() const
{
    QQuickItem* focusItem = m_app->window()->activeFocusItem();
    return focusItem ? focusItem->objectName() : QString();
}

bool UiHarness::tabTo(const QString& objectName)
{
    for (int i = 0; i < 20 && focused() != objectName; ++i)
        press(Qt::Key_Tab);
    return focused() == objectName;
}

void UiHarness::pressScanNowShortcut()
{
    press(Qt::Key_R, Qt::ControlModifier);
}

std::vector<std::string> UiHarness::endpointsReceived()
{
    const QUrl url(QStringLiteral("http://127.0.0.1:%1/dev/received").arg(m_service->port()));
    std::unique_ptr<QNetworkReply> reply(m_network.get(QNetworkRequest(url)));
    QEventLoop loop;
    QObject::connect(reply.get(), &QNetworkReply::finished, &loop, &QEventLoop::quit);
    loop.exec();
    const auto page = nlohmann::json::parse(reply->readAll().toStdString(), nullptr, false);
    std::vector<std::string> names;
    const std::string prefix = "/v1/parental/bridges/";
    if (!page.is_object() || !page.contains("requests"))
        return names;
    for (const auto& request : page["requests"]) {
        const std::string path = request.value("path", "");
        names.push_back(path.starts_with(prefix) ? path.substr(prefix.size()) : path);
    }
    return names;
}

int UiHarness::countReceived(const std::string& endpoint)
{
    const auto names = endpointsReceived();
    return static_cast<int>(std::count(names.begin(), names.end(), endpoint));
}

bool UiHarness::waitFor(const std::function<bool()>& done, std::chrono::milliseconds timeout)
{
    // A real event loop, not processEvents(): the secret store answers through the GLib loop.
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!done()) {
        if (std::chrono::steady_clock::now() >= deadline)
            return false;
        spin(std::chrono::milliseconds(10));
    }
    return true;
}

void UiHarness::spin(std::chrono::milliseconds duration)
{
    QEventLoop loop;
    QTimer::singleShot(duration, &loop, &QEventLoop::quit);
    loop.exec();
}

} // namespace quorva::uitest
