// The portable INI reader on the installer's own script (setup/setup.ini,
// about 1 KB): one value, one key list, and the whole pass the installer
// makes over its lists, each read splitting the whole text again as the
// profile functions do.
#include <benchmark/benchmark.h>

#include "common/ini.h"
#include "setup/install_context.h"

#include <string>

namespace {

// The script beside this source file's folder, found without the build's help.
std::string shippedScript() {
    std::string path = __FILE__;
    path = path.substr(0, path.find_last_of("/\\") + 1) + "../setup/setup.ini";
    std::string text;
    readWholeFile(path.c_str(), &text);
    return text;
}

void readOneValue(benchmark::State& state) {
    const std::string text = shippedScript();
    if (text.empty()) return state.SkipWithError("setup/setup.ini not found");
    char value[260];
    for (auto _ : state) {
        benchmark::DoNotOptimize(iniReadString(text, "DELETEFILELIST", "6", "", value, sizeof value));
    }
    state.counters["bytes"] = static_cast<double>(text.size());
}
BENCHMARK(readOneValue);

void readKeyList(benchmark::State& state) {
    const std::string text = shippedScript();
    if (text.empty()) return state.SkipWithError("setup/setup.ini not found");
    std::string keys(ScriptKeysSize, '\0');
    for (auto _ : state) {
        benchmark::DoNotOptimize(iniReadKeys(text, "INSTALLFILELIST", &keys[0], ScriptKeysSize));
    }
}
BENCHMARK(readKeyList);

// Every list section with its values, as the installer reads them.
void readWholeScript(benchmark::State& state) {
    IniTextProfile script(shippedScript());
    if (script.text().empty()) return state.SkipWithError("setup/setup.ini not found");
    InstallContext context;
    context.script = &script;
    size_t values = 0;
    for (auto _ : state) {
        values = 0;
        for (const char* section : {"INSTALLFILELIST", "DELETEFILELIST", "LINKLIST", "EXTENSIONS"})
            values += readScriptList(context, section, InstallPathSize).size();
        benchmark::DoNotOptimize(values);
    }
    state.counters["values"] = static_cast<double>(values);
}
BENCHMARK(readWholeScript);

}  // namespace
