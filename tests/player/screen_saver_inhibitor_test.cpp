// SPDX-License-Identifier: GPL-3.0-or-later
#include "player/screen_saver_inhibitor.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
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

TEST(ScreenSaverWithoutABus, NothingHappensAndNothingFails)
{
    ScreenSaverInhibitor inhibitor(
        QDBusConnection::connectToBus(QStringLiteral("unix:path=/nonexistent/bus"), QStringLiteral("nowhere")));
    inhibitor.Inhibit(QStringLiteral("no bus"));
    EXPECT_TRUE(inhibitor.Inhibiting());
    inhibitor.Release();
    EXPECT_FALSE(inhibitor.Inhibiting());
    QDBusConnection::disconnectFromBus(QStringLiteral("nowhere"));
}

#include "screen_saver_inhibitor_test.moc"
