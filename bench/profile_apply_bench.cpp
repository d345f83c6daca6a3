// Applying a device profile of growing size (language lists, "functions" and key
// sections in equal parts): the time per byte must stay flat, no quadratic growth.
#include "DeviceProfileController.h"
#include "DpiTables.h"
#include "PageWorld.h"

#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <benchmark/benchmark.h>

namespace {

// About n entries of each kind.
QByteArray profileOf(int n)
{
    QJsonArray languages, functions, keys;
    for (int i = 0; i < n; ++i) {
        languages.append(QJsonObject{{"code", QStringLiteral("L%1").arg(i)}, {"name", "language name"}});
        functions.append(QJsonObject{{"name", i % 2 ? "DPI" : "ReportRate"}, {"code", "800dpi,1600dpi,3200dpi"}});
        keys.append(QJsonObject{{"id", QString::number(i)},
                                {"key", "1"},
                                {"names", QJsonObject{{"ZH_CN", "键"}, {"EN_US", "Key"}}},
                                {"childs", QJsonArray{QJsonObject{{"id", "p"}, {"operation", "1"}}}}});
    }
    return QJsonDocument(QJsonObject{{"languages", languages}, {"functions", functions}, {"keyInfos", keys}})
        .toJson(QJsonDocument::Compact);
}

void BM_ApplyProfile(benchmark::State &state)
{
    QXUserInfoData::setDpiChoiceLookup(&DpiTables::choiceFor);
    PageWorld world;
    DeviceProfileController profile(world.context());
    const QByteArray json = profileOf(int(state.range(0)));
    for (auto _ : state) {
        const QJsonValue value = QJsonDocument::fromJson(json).object();
        profile.handleModelInfo(value, QStringLiteral("523"), QStringLiteral("S9"));
    }
    state.SetBytesProcessed(qint64(state.iterations()) * json.size());
    state.counters["bytes"] = double(json.size());
}
BENCHMARK(BM_ApplyProfile)->Arg(500)->Arg(2000)->Arg(4000)->Arg(8000)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
