// How long the main window takes to draw: a whole repaint at the design size and at 1920 x
// 1080, and the repaint of the chips one step changes (a selection click: one chip; a falling
// step: a dozen or two). Everything is drawn and copied to the (offscreen) screen.
#include <benchmark/benchmark.h>

#include "mainwindow/pelform.h"
#include "model/board.h"
#include "settings/soundoutput.h"

#include <QApplication>
#include <QDir>
#include <QSettings>
#include <QTemporaryDir>

#include <memory>
#include <vector>

namespace {

// No sound is played while drawing; a silent output keeps the audio system out of it.
class SilentOutput : public SoundOutput {
public:
    void PlayMemory(std::shared_ptr<const std::vector<char>>) override {}
    void PlayFile(const QString&) override {}
    void Stop() override {}
};

std::unique_ptr<TPellinForm> ShownForm(QSize size) {
    auto form = std::make_unique<TPellinForm>(std::make_unique<SilentOutput>());
    form->setMinimumSize(0, 0);
    form->resize(size);
    form->FormOnIdle();
    form->FormPaint(); // lays the board out and fills the disc cache
    return form;
}

void FormPaint(benchmark::State& state) {
    auto form =
        ShownForm(QSize(static_cast<int>(state.range(0)), static_cast<int>(state.range(1))));
    for (auto _ : state) {
        form->FormPaint();
    }
    state.SetLabel(std::to_string(form->GameBoard->CellAt(0, 0)->Bounds().right) + "-pixel tiles");
}
BENCHMARK(FormPaint)->Args({658, 480})->Args({1920, 1080})->Unit(benchmark::kMillisecond);

// A paint right after the size changed, which also makes the disc images afresh.
void FormPaintAfterResize(benchmark::State& state) {
    auto form = ShownForm(QSize(658, 480));
    bool big = false;
    for (auto _ : state) {
        big = !big;
        form->resize(big ? QSize(700, 520) : QSize(658, 480));
        form->FormPaint();
    }
}
BENCHMARK(FormPaintAfterResize)->Unit(benchmark::kMillisecond);

// RedrawChips of the first `range(0)` chips of a compact patch in the middle of the board, as
// one click (1) or one falling step (16) changes them.
void RedrawChips(benchmark::State& state) {
    auto form = ShownForm(QSize(658, 480));
    std::vector<Chip*> changed;
    for (int r = 3; r < 9 && static_cast<int64_t>(changed.size()) < state.range(0); ++r) {
        for (int s = 4 + r % 2; s < 14 && static_cast<int64_t>(changed.size()) < state.range(0);
             s += 2) {
            changed.push_back(form->GameBoard->CellAt(r, s));
        }
    }
    std::vector<Chip*> ignored;
    form->GameBoard->SelectChip(changed.front(), false, ignored); // the chain line is drawn too
    for (auto _ : state) {
        form->RedrawChips(changed);
    }
    state.SetLabel(std::to_string(changed.size()) + " chips");
}
BENCHMARK(RedrawChips)->Arg(1)->Arg(16)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    // Offscreen, and with a settings store of its own: the window stores its placement and the
    // sound scheme, which must not touch the real player's settings.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir home;
    const QString config = home.filePath(QStringLiteral("config"));
    QDir().mkpath(config);
    qputenv("XDG_CONFIG_HOME", config.toLocal8Bit());
    for (QSettings::Format format : {QSettings::NativeFormat, QSettings::IniFormat}) {
        QSettings::setPath(format, QSettings::UserScope, config);
    }
    QApplication app(argc, argv);

    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
