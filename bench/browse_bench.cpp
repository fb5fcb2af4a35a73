// SPDX-License-Identifier: GPL-3.0-or-later
// Listing a folder of 3000 pictures (plain listing and the full explorer refresh with icons and
// sorting), and rendering a full-HD panel with children beside QWidget::grab.
#include "browse/explorer_listing.h"
#include "browse/file_list_view.h"
#include "transitions/engine/control_rendering.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

using namespace lumetta;

namespace {

const QTemporaryDir &Folder()
{
    static QTemporaryDir dir;
    static const bool filled = [] {
        for (int i = 0; i < 3000; ++i) {
            QFile file(dir.path() + QStringLiteral("/picture%1.jpg").arg(i, 4, 10, QLatin1Char('0')));
            file.open(QIODevice::WriteOnly);
        }
        return true;
    }();
    Q_UNUSED(filled);
    return dir;
}

void BM_ListFolder(benchmark::State &state)
{
    const QString folder = Folder().path() + QLatin1Char('/');
    for (auto _ : state)
        benchmark::DoNotOptimize(
            lumetta::ListFolder(folder, QStringLiteral("*.BMP;*.JPG;*.JPEG;*.GIF"), lumetta::NormalFiles));
}
BENCHMARK(BM_ListFolder)->Unit(benchmark::kMillisecond);

void BM_ExplorerRefresh(benchmark::State &state)
{
    lumetta::FileListView explorer;
    explorer.SetMask(QStringLiteral("*.BMP;*.JPG;*.JPEG;*.GIF"));
    explorer.SetDirectory(Folder().path());
    for (auto _ : state)
        explorer.Refresh();
}
BENCHMARK(BM_ExplorerRefresh)->Unit(benchmark::kMillisecond);

QWidget &Panel()
{
    static QWidget panel;
    static const bool built = [] {
        panel.resize(1920, 1080);
        panel.setAutoFillBackground(true);
        for (int i = 0; i < 12; ++i) {
            auto *label = new QLabel(QStringLiteral("Label %1").arg(i), &panel);
            label->setAutoFillBackground(true);
            label->setGeometry(i * 150, i * 80, 400, 300);
        }
        auto *list = new QListWidget(&panel);
        for (int i = 0; i < 50; ++i)
            list->addItem(QStringLiteral("Item %1").arg(i));
        list->setGeometry(100, 500, 600, 500);
        return true;
    }();
    Q_UNUSED(built);
    return panel;
}

void BM_RenderControl(benchmark::State &state)
{
    QWidget &panel = Panel();
    for (auto _ : state)
        benchmark::DoNotOptimize(RenderControl(&panel, panel.rect(), true, QImage::Format_RGB32));
}
BENCHMARK(BM_RenderControl)->Unit(benchmark::kMillisecond);

void BM_Grab(benchmark::State &state)
{
    QWidget &panel = Panel();
    for (auto _ : state)
        benchmark::DoNotOptimize(panel.grab().toImage());
}
BENCHMARK(BM_Grab)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
