// SPDX-License-Identifier: GPL-3.0-or-later
// Every option a program's --help names is in its manual page, and the page names no other.
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>

#include <gtest/gtest.h>

namespace {

QString HelpOf(const QString &program, const QStringList &arguments)
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        environment.remove(QLatin1String(name));
    process.setProcessEnvironment(environment);
    process.start(program, arguments);
    EXPECT_TRUE(process.waitForFinished(30000)) << program.toStdString();
    EXPECT_EQ(process.exitCode(), 0) << program.toStdString();
    return QString::fromLocal8Bit(process.readAllStandardOutput());
}

// "--name" and "-x" options as a terminal shows them.
QSet<QString> OptionsInHelp(const QString &help)
{
    QSet<QString> options;
    static const QRegularExpression kOption(QStringLiteral("(?<![\\w-])(--?[a-z][a-z0-9-]*)"));
    for (const QRegularExpressionMatch &match : kOption.globalMatch(help))
        options.insert(match.captured(1));
    return options;
}

// The same in a manual page's source, where a dash is written "\-".
QSet<QString> OptionsInPage(const QString &path)
{
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    QString text = QString::fromUtf8(file.readAll());
    text.replace(QLatin1String("\\-"), QLatin1String("-"));
    return OptionsInHelp(text);
}

QString Page(const char *name)
{
    return QStringLiteral(LUMETTA_DATA_SOURCE "/man/") + QLatin1String(name);
}

TEST(ManualPagesTest, EachPageListsEveryOptionOfItsProgramsAndNoOther)
{
    const struct
    {
        const char *page;
        QStringList programs;
    } pages[] = {
        // The self-running show's player is described in lumetta's page.
        {"lumetta.1", {LUMETTA_PROGRAM_PATH, LUMETTA_STUB_PATH}},
        {"lumetta-fx.1", {LUMETTA_FX_PATH}},
    };
    for (const auto &p : pages) {
        const QSet<QString> documented = OptionsInPage(Page(p.page));
        QSet<QString> offered;
        for (const QString &program : p.programs) {
            const QSet<QString> options = OptionsInHelp(HelpOf(program, {"--help"}));
            EXPECT_TRUE(options.contains("--help") && options.contains("--version")) << program.toStdString();
            for (const QString &option : options)
                EXPECT_TRUE(documented.contains(option)) << p.page << " lacks " << option.toStdString();
            offered += options;
        }
        for (const QString &option : documented)
            EXPECT_TRUE(offered.contains(option))
                << p.page << " names " << option.toStdString() << ", which no --help offers";
    }
}

TEST(ManualPagesTest, ThePagesNameTheEnvironmentAndTheFilesWritten)
{
    QFile page(Page("lumetta.1"));
    ASSERT_TRUE(page.open(QIODevice::ReadOnly));
    const QByteArray text = page.readAll();
    for (const char *part : {".SH ENVIRONMENT", ".SH FILES", "XDG_CONFIG_HOME", "XDG_CACHE_HOME", "TMPDIR",
                             "LUMETTA_SCREEN_BPP", "SOPT.lst", "dir.lst", "dires.lst", "projects.lst",
                             "preferences.ini", "export.ini", "recently-used.xbel", "thumbnails"})
        EXPECT_TRUE(text.contains(part)) << part;
}

}  // namespace
