// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/termination_signals.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

#include <csignal>

namespace lumetta {
namespace {

TEST(TerminationSignals, EachSignalArrivesAsAQtSignalInOrder)
{
    TerminationSignals terminations;
    QSignalSpy received(&terminations, &TerminationSignals::Received);
    for (const int signalNumber : {SIGINT, SIGTERM, SIGHUP})
        ASSERT_EQ(std::raise(signalNumber), 0);
    // The handler only writes to the pipe; the numbers arrive when the event loop runs.
    EXPECT_EQ(received.count(), 0);
    ASSERT_TRUE(received.wait(5000));
    ASSERT_EQ(received.count(), 3);
    EXPECT_EQ(received.at(0).at(0).toInt(), SIGINT);
    EXPECT_EQ(received.at(1).at(0).toInt(), SIGTERM);
    EXPECT_EQ(received.at(2).at(0).toInt(), SIGHUP);
    EXPECT_EQ(TerminationSignals::ExitStatus(SIGINT), 130);
}

TEST(TerminationSignals, TheEarlierHandlersReturnWhenItGoes)
{
    struct sigaction ignore = {};
    ignore.sa_handler = SIG_IGN;
    struct sigaction before = {};
    ASSERT_EQ(::sigaction(SIGHUP, &ignore, &before), 0);
    {
        const TerminationSignals terminations;
        struct sigaction during = {};
        ::sigaction(SIGHUP, nullptr, &during);
        EXPECT_NE(during.sa_handler, SIG_IGN);
    }
    struct sigaction after = {};
    ::sigaction(SIGHUP, &before, &after);
    EXPECT_EQ(after.sa_handler, SIG_IGN);
}

}  // namespace
}  // namespace lumetta
