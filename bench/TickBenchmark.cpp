// The clock's per-second work on the built-in pictures: a tick within a minute, and the full
// redraw of a new minute, also with the wake timer following the alarm. Run: quillon-bench
// (headless).
#include <benchmark/benchmark.h>

#include <QApplication>

#include "core/fomBarClock.h"
#include "platform/fake/Fakes.h"

namespace {

struct BenchClock {
    BenchClock() : window(fakes.platform(), QStringLiteral("/opt/quillon/")) {
        window.Form_Load();
        window.TimePrint(QDateTime(QDate(2026, 12, 7), QTime(10, 15, 0)));
    }
    FakePlatform fakes;
    fomBarClock window;
};

void TickWithinAMinute(benchmark::State& state) {
    BenchClock clock;
    const QDateTime now(QDate(2026, 12, 7), QTime(10, 15, 30));
    for (auto _ : state) clock.window.TimePrint(now);
}
BENCHMARK(TickWithinAMinute);

void NewMinuteRedraw(benchmark::State& state) {
    BenchClock clock;
    QDateTime now(QDate(2026, 12, 7), QTime(10, 15, 0));
    for (auto _ : state) {
        now = now.addSecs(60);
        clock.window.TimePrint(now);
    }
}
BENCHMARK(NewMinuteRedraw);

// What the alarm and its wake timer add to a new minute: the missed-minute rule, and working
// out when the alarm is next due.
void NewMinuteRedrawWithTheWakeTimer(benchmark::State& state) {
    BenchClock clock;
    clock.window.setting().AlarmMode = 1;
    clock.window.setting().AlarmWake = 1;
    QDateTime now(QDate(2026, 12, 7), QTime(10, 15, 0));
    for (auto _ : state) {
        now = now.addSecs(60);
        clock.window.TimePrint(now);
    }
}
BENCHMARK(NewMinuteRedrawWithTheWakeTimer);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
