// SPDX-License-Identifier: GPL-3.0-or-later
#include <QApplication>
#include <QByteArray>
#include <gtest/gtest.h>

#include <unistd.h>

#include <climits>
#include <string>

namespace {

void SetDefault(const char *name, const QByteArray &value)
{
    if (qEnvironmentVariableIsEmpty(name))
        qputenv(name, value);
}

// Test executables live in BUILD/tests/; each run keeps its list files in a configuration folder
// of its own under BUILD/test-config/, named after the executable and the test cases it runs, so
// tests never touch the user's files and test processes running side by side never share one.
void IsolateFromTheDesktop()
{
    char buffer[PATH_MAX];
    const ssize_t length = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    const std::string self = length > 0 ? std::string(buffer, std::size_t(length)) : std::string("./test");
    const std::string name = self.substr(self.rfind('/') + 1);
    const std::string testsFolder = self.substr(0, self.rfind('/'));
    const std::string build = testsFolder.substr(0, testsFolder.rfind('/'));
    SetDefault("QT_QPA_PLATFORM", "offscreen");
    std::string cases = ::testing::GTEST_FLAG(filter);
    for (char &c : cases)
        if (c == '/')
            c = '_';
    SetDefault("XDG_CONFIG_HOME", QByteArray::fromStdString(build + "/test-config/" + name + "/" + cases));
    SetDefault("XDG_RUNTIME_DIR", QByteArray::fromStdString(build + "/test-runtime"));
    // The desktop's recent files and thumbnail cache too.
    SetDefault("XDG_DATA_HOME", QByteArray::fromStdString(build + "/test-data/" + name + "/" + cases));
    SetDefault("XDG_CACHE_HOME", QByteArray::fromStdString(build + "/test-cache/" + name + "/" + cases));
}

}  // namespace

// Every test executable gets a QApplication so widget and image code can run.
int main(int argc, char **argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    IsolateFromTheDesktop();
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
