// Reading the registry file: every clock reads the whole file at start and at every change, so its parse
// must stay linear in the file's size, however the file is shaped.
#include "settings/RegistryDocument.h"

#include <benchmark/benchmark.h>

using namespace kiv;

namespace {

const QByteArray kHeader = "Windows Registry Editor Version 5.00\n\n";

QByteArray flatKeys(int count)
{
    QByteArray text = kHeader;
    for (int i = 0; i < count; ++i)
        text += "[HKEY_CURRENT_USER\\Software\\Kiv Clock\\Clock " + QByteArray::number(i) + "]\n\"Enable\"=dword:00000001\n";
    return text;
}

QByteArray deepKey(int depth)
{
    QByteArray path = "HKEY_CURRENT_USER";
    for (int i = 0; i < depth; ++i)
        path += "\\k";
    return kHeader + '[' + path + "]\n\"Enable\"=dword:00000001\n";
}

QByteArray manyValues(int count)
{
    QByteArray text = kHeader + "[HKEY_CURRENT_USER\\Software\\Kiv Clock\\Default]\n";
    for (int i = 0; i < count; ++i)
        text += "\"Value " + QByteArray::number(i) + "\"=dword:00000001\n";
    return text;
}

void parse(benchmark::State& state, const QByteArray& text)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(RegistryDocument::parse(text));
    state.SetBytesProcessed(state.iterations() * text.size());
}

void BM_ParseFlatKeys(benchmark::State& state)
{
    parse(state, flatKeys(int(state.range(0))));
}

void BM_ParseDeepKey(benchmark::State& state)
{
    parse(state, deepKey(int(state.range(0))));
}

void BM_ParseManyValues(benchmark::State& state)
{
    parse(state, manyValues(int(state.range(0))));
}

} // namespace

BENCHMARK(BM_ParseFlatKeys)->Arg(5000)->Arg(20000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ParseDeepKey)->Arg(1000)->Arg(2000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ParseManyValues)->Arg(20000)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
