// The failure alert: shown for every failure, also one that repeats, answered by keyboard, and
// withdrawn without counting as the parent's answer, in the styles whose dialogs differ.
#include "UiHarness.h"

#include <QQuickStyle>

namespace quorva::uitest {
namespace {

// Each test runs in a process of its own, where the style is chosen before the window loads.
class FailureAlert : public ::testing::TestWithParam<const char*> {
protected:
    void SetUp() override { QQuickStyle::setStyle(QString::fromLatin1(GetParam())); }
};

TEST_P(FailureAlert, ComesBackForEveryFailureAndOnlyTheParentsAnswerReloads)
{
    UiHarness ui;
    const auto folder = ui.backup();
    ui.launch();
    ui.pair();
    ui.chooseBackupFolder(folder);
    ui.assign(BackupContent{}.udid);
    std::filesystem::rename(folder / "Manifest.db", folder / "Manifest.away"); // no backup found
    ui.scanAndWait();

    ASSERT_TRUE(UiHarness::waitFor([&] { return ui.shown("failureAlert"); }));
    const QString failure = ui.state().phase().failureText();
    EXPECT_EQ(ui.text("failureAlertText"), failure);

    // OK is the default button: Return answers the alert, and the answer reloads the children once.
    const long childrenRequests = ui.countReceived("children");
    ui.press(Qt::Key_Return);
    ASSERT_TRUE(UiHarness::waitFor([&] { return !ui.shown("failureAlert"); }));
    ASSERT_TRUE(UiHarness::waitFor([&] { return ui.state().phase().kind() != Phase::Kind::failed; }));
    EXPECT_EQ(ui.countReceived("children"), childrenRequests + 1);

    // The same failure again: the alert is back.
    ui.scanAndWait();
    ASSERT_TRUE(test::failedWith(ui.state().phase(), failure));
    ASSERT_TRUE(UiHarness::waitFor([&] { return ui.shown("failureAlert"); }))
        << "a repeated failure is shown";

    // A new cycle withdraws the alert; that is no answer and reloads nothing, also once a
    // closing animation has ended.
    std::filesystem::rename(folder / "Manifest.away", folder / "Manifest.db");
    ui.press(Qt::Key_R, Qt::ControlModifier);
    ASSERT_TRUE(UiHarness::waitFor([&] { return ui.state().phase() == Phase::ready(); }));
    UiHarness::spin(std::chrono::milliseconds(600));
    EXPECT_FALSE(ui.shown("failureAlert"));
    EXPECT_EQ(ui.countReceived("children"), childrenRequests + 1) << "a withdrawn alert is no dismissal";
}

TEST_P(FailureAlert, OfflineOKClosesItForGoodAndTheStatusCardKeepsTheFailureAndTriesAgain)
{
    UiHarness ui;
    ui.launch();
    ui.pair();
    ui.stopService();
    ui.state().requestLoadChildren();
    ASSERT_TRUE(UiHarness::waitFor([&] { return ui.shown("failureAlert"); }));
    const QString failure = ui.state().phase().failureText();
    EXPECT_TRUE(failure.startsWith("Quorva can't be reached.")) << failure.toStdString();
    ui.savePicture(QStringLiteral("alert-offline"));

    // OK: the reload it starts fails as well, and the alert stays closed.
    int failures = ui.state().failureCount();
    ui.press(Qt::Key_Return);
    ASSERT_TRUE(UiHarness::waitFor([&] { return ui.state().failureCount() > failures; })) << "no reload";
    UiHarness::spin(std::chrono::milliseconds(600));
    EXPECT_FALSE(ui.shown("failureAlert"));

    // The status card keeps the failure, and its button tries again, as quietly.
    EXPECT_TRUE(ui.shown("statusFailureText"));
    EXPECT_EQ(ui.text("statusFailureText"), failure);
    ui.savePicture(QStringLiteral("status-offline"));
    failures = ui.state().failureCount();
    ASSERT_TRUE(ui.shown("tryAgainButton"));
    ui.click("tryAgainButton");
    ASSERT_TRUE(UiHarness::waitFor([&] { return ui.state().failureCount() > failures; })) << "no retry";
    UiHarness::spin(std::chrono::milliseconds(600));
    EXPECT_FALSE(ui.shown("failureAlert"));

    // A different failure is news again.
    ui.state().requestPair();
    EXPECT_TRUE(UiHarness::waitFor([&] { return ui.shown("failureAlert"); }));
}

INSTANTIATE_TEST_SUITE_P(Styles, FailureAlert, ::testing::Values("Fusion", "Material"),
                         [](const auto& info) { return std::string(info.param); });

} // namespace
} // namespace quorva::uitest
