// SPDX-License-Identifier: GPL-3.0-or-later
#include "player/screen_saver_inhibitor.h"

#include "x11_saver_probe.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QGuiApplication>
#include <QProcess>
#include <QTest>

#include <gtest/gtest.h>

using namespace lumetta;

namespace {

constexpr int kWaitMs = 10000;

// A stand-in for the desktop's screen saver service, recording what it is asked.
class FakeScreenSaver : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.ScreenSaver")

public:
    QStringList calls;
    uint nextCookie = 41;

public slots:
    uint Inhibit(const QString &application, const QString &reason)
    {
        calls << QStringLiteral("Inhibit %1: %2").arg(application, reason);
        return ++nextCookie;
    }
    void UnInhibit(uint cookie) { calls << QStringLiteral("UnInhibit %1").arg(cookie); }
};

// A session bus of the test's own, so the desktop's is never touched.
class ScreenSaverInhibitorTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        daemon_.start(QStringLiteral("dbus-daemon"),
                      {QStringLiteral("--session"), QStringLiteral("--nofork"), QStringLiteral("--print-address=1")});
        if (!daemon_.waitForStarted(kWaitMs))
            GTEST_SKIP() << "dbus-daemon is not installed";
        ASSERT_TRUE(daemon_.waitForReadyRead(kWaitMs));
        address_ = QString::fromUtf8(daemon_.readLine()).trimmed();
        QDBusConnection service = QDBusConnection::connectToBus(address_, QStringLiteral("service"));
        ASSERT_TRUE(service.isConnected());
        ASSERT_TRUE(service.registerService(QStringLiteral("org.freedesktop.ScreenSaver")));
        ASSERT_TRUE(service.registerObject(QStringLiteral("/org/freedesktop/ScreenSaver"), &fake_,
                                           QDBusConnection::ExportAllSlots));
    }

    void TearDown() override
    {
        QDBusConnection::disconnectFromBus(QStringLiteral("service"));
        QDBusConnection::disconnectFromBus(QStringLiteral("player"));
        daemon_.kill();
        daemon_.waitForFinished();
    }

    QDBusConnection PlayerBus() { return QDBusConnection::connectToBus(address_, QStringLiteral("player")); }

    QProcess daemon_;
    QString address_;
    FakeScreenSaver fake_;
};

}  // namespace

TEST_F(ScreenSaverInhibitorTest, InhibitsWhileTheShowPlaysAndReleasesTheSameCookie)
{
    ScreenSaverInhibitor inhibitor(PlayerBus());
    inhibitor.Inhibit(QStringLiteral("A slide show is playing"));
    inhibitor.Inhibit(QStringLiteral("asked twice, inhibited once"));
    EXPECT_TRUE(inhibitor.Inhibiting());
    ASSERT_TRUE(QTest::qWaitFor([&] { return fake_.calls.size() == 1; }, kWaitMs));
    EXPECT_TRUE(fake_.calls.at(0).endsWith(QStringLiteral(": A slide show is playing")));
    QTest::qWait(50);  // the answer with the cookie comes back
    inhibitor.Release();
    EXPECT_FALSE(inhibitor.Inhibiting());
    ASSERT_TRUE(QTest::qWaitFor([&] { return fake_.calls.size() == 2; }, kWaitMs));
    EXPECT_EQ(fake_.calls.at(1), QStringLiteral("UnInhibit 42"));
}

TEST_F(ScreenSaverInhibitorTest, AShowEndingBeforeTheAnswerStillReleasesIt)
{
    {
        ScreenSaverInhibitor inhibitor(PlayerBus());
        inhibitor.Inhibit(QStringLiteral("short show"));
        inhibitor.Release();
        // The answer arrives after the release: the inhibition it grants is ended at once.
        ASSERT_TRUE(QTest::qWaitFor([&] { return fake_.calls.size() == 2; }, kWaitMs));
        EXPECT_EQ(fake_.calls.at(1), QStringLiteral("UnInhibit 42"));
        inhibitor.Inhibit(QStringLiteral("second show"));
        ASSERT_TRUE(QTest::qWaitFor([&] { return fake_.calls.size() == 3; }, kWaitMs));
        QTest::qWait(50);
    }
    // Destroyed while inhibiting (the player window closed for good).
    ASSERT_TRUE(QTest::qWaitFor([&] { return fake_.calls.size() == 4; }, kWaitMs));
    EXPECT_EQ(fake_.calls.at(3), QStringLiteral("UnInhibit 43"));
}

TEST(ScreenSaverWithoutABus, NothingFails)
{
    ScreenSaverInhibitor inhibitor(
        QDBusConnection::connectToBus(QStringLiteral("unix:path=/nonexistent/bus"), QStringLiteral("nowhere")));
    inhibitor.Inhibit(QStringLiteral("no bus"));
    EXPECT_TRUE(inhibitor.Inhibiting());
    // Off X11 there is nobody else to ask.
    EXPECT_EQ(inhibitor.SuspendingX11(), QGuiApplication::platformName() == QLatin1String("xcb"));
    inhibitor.Release();
    EXPECT_FALSE(inhibitor.Inhibiting());
    EXPECT_FALSE(inhibitor.SuspendingX11());
    QDBusConnection::disconnectFromBus(QStringLiteral("nowhere"));
}

namespace {

// On a real X server (Xvfb) whose own screen saver comes on after a second of idleness.
class ScreenSaverOnX11 : public ScreenSaverInhibitorTest
{
protected:
    void SetUp() override
    {
        if (!testx11::SaverOn())
            GTEST_SKIP() << "needs an X server with the screen saver extension";
        ScreenSaverInhibitorTest::SetUp();
        ASSERT_TRUE(testx11::SetSaverTimeout(1));
    }
    void TearDown() override
    {
        testx11::SetSaverTimeout(0);
        ScreenSaverInhibitorTest::TearDown();
    }

    // Waits past the saver's timeout, then tells whether it came on.
    static bool SaverCameOn()
    {
        QTest::qWait(2500);
        return testx11::SaverOn().value_or(false);
    }
};

}  // namespace

// Without the desktop's service on the bus the player keeps the X server from blanking itself,
// and lets it blank again when the show ends.
TEST_F(ScreenSaverOnX11, WithoutTheServiceTheXServerDoesNotBlank)
{
    ASSERT_TRUE(QDBusConnection::connectToBus(address_, QStringLiteral("service"))
                    .unregisterService(QStringLiteral("org.freedesktop.ScreenSaver")));
    ASSERT_TRUE(SaverCameOn()) << "the X server's saver does not work here";
    ASSERT_TRUE(testx11::SetSaverTimeout(1));  // off again, as user input turns it off
    ScreenSaverInhibitor inhibitor(PlayerBus());
    inhibitor.Inhibit(QStringLiteral("A slide show is playing"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return inhibitor.SuspendingX11(); }, kWaitMs));
    EXPECT_FALSE(SaverCameOn());
    inhibitor.Release();
    EXPECT_FALSE(inhibitor.SuspendingX11());
    EXPECT_TRUE(SaverCameOn());
}

TEST_F(ScreenSaverOnX11, WithoutABusTheXServerDoesNotBlank)
{
    ScreenSaverInhibitor inhibitor(
        QDBusConnection::connectToBus(QStringLiteral("unix:path=/nonexistent/bus"), QStringLiteral("nowhere")));
    inhibitor.Inhibit(QStringLiteral("no bus"));
    EXPECT_FALSE(SaverCameOn());
    inhibitor.Release();
    QDBusConnection::disconnectFromBus(QStringLiteral("nowhere"));
}

// With the service the desktop does the work: the X server is left alone.
TEST_F(ScreenSaverOnX11, WithTheServiceTheXServerIsLeftAlone)
{
    ScreenSaverInhibitor inhibitor(PlayerBus());
    inhibitor.Inhibit(QStringLiteral("A slide show is playing"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return fake_.calls.size() == 1; }, kWaitMs));
    EXPECT_FALSE(inhibitor.SuspendingX11());
    inhibitor.Release();
}

#include "screen_saver_inhibitor_test.moc"
