// Cost of posting a notification on the main thread to a handful of observers.
#include "NotificationCenter.h"

#include <QCoreApplication>

#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

static void BM_PostToObservers(benchmark::State &state)
{
    NotificationCenter center;
    std::vector<std::unique_ptr<QObject>> contexts;
    int hits = 0;
    for (int i = 0; i < state.range(0); ++i) {
        contexts.push_back(std::make_unique<QObject>());
        center.addObserver(i % 2 ? "kUSBInsertNotification" : "other", contexts.back().get(),
                           [&hits](const QVariant &) { ++hits; });
    }
    for (auto _ : state)
        center.post("kUSBInsertNotification");
    benchmark::DoNotOptimize(hits);
}
BENCHMARK(BM_PostToObservers)->Arg(2)->Arg(8)->Arg(32);

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
