// The cleaning at start on a real folder of 100 000 files, half of them leftovers to delete.
// Run: quillon-tmpclear-bench [folder to make the files in; default the system's temporary one].
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <QByteArray>
#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>

#include "core/SettingRecord.h"
#include "core/TmpClear.h"
#include "platform/TempFolder.h"

namespace {

QString g_parent;

void fill(const QString& folder, int files) {
    for (int i = 0; i < files; ++i) {
        // Every other one a leftover, in letters of both cases.
        const QByteArray name = i % 2 == 0 ? "~DF" + QByteArray::number(i) + ".TMP"
                                           : "keep" + QByteArray::number(i) + ".tmp";
        const QByteArray path = folder.toLocal8Bit() + '/' + name;
        const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd >= 0) ::close(fd);
    }
}

void CleanHundredThousandFiles(benchmark::State& state) {
    const int files = static_cast<int>(state.range(0));
    SettingRecord setting;
    setting.TmpMode = 1;
    setting.TmpEnvName = QStringLiteral("QUILLON_BENCH_TMP");
    PosixTempFolder tempFolder;
    for (auto _ : state) {
        state.PauseTiming();
        QTemporaryDir folder(g_parent + QStringLiteral("/quillon-bench-XXXXXX"));
        fill(folder.path(), files);
        qputenv("QUILLON_BENCH_TMP", folder.path().toLocal8Bit());
        state.ResumeTiming();

        cleanTempFolder(setting, tempFolder);

        state.PauseTiming();
        // A cleaning that deleted nothing would be quick too.
        if (QDir(folder.path()).entryList(QDir::Files).size() != files / 2)
            state.SkipWithError("the leftovers were not all deleted");
        folder.remove();
        state.ResumeTiming();
    }
}
BENCHMARK(CleanHundredThousandFiles)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    g_parent = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QDir::tempPath();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
