// How long CC-CEDICT takes to index, how long a lookup takes after that, and what the index
// holds in memory (goals: at most 200 ms, under 1 ms, at most 40 MB). Five runs each, with
// their median and spread. The index is built from the file each run, as the first lookup does.
//
//   bench_cedict_index [PATH]   default: the copy scripts/setup fetches (.cache/data)
#include "dictionaries/CedictSource.h"
#include "platform/FileContents.h"

#include <algorithm>
#include <chrono>
#include <ctime>
#include <iomanip>
#include <iostream>
#include <vector>

using namespace quorvex;
using Clock = std::chrono::steady_clock;

namespace {

constexpr int kRuns = 5;
const std::vector<std::pair<std::string, const TLanguagePair*>> kWords{
    {"你好", &kLanguagePairs[1]},           {"電腦", &kLanguagePairs[1]},
    {"我们明天去北京", &kLanguagePairs[1]}, {"computer", &kLanguagePairs[0]},
    {"hello", &kLanguagePairs[0]},          {"to eat", &kLanguagePairs[0]}};

double Milliseconds(Clock::duration duration) {
    return std::chrono::duration<double, std::milli>(duration).count();
}

// Resident memory of this process in MiB, from /proc.
double ResidentMiB() {
    const std::string status = platform::ReadWholeFile("/proc/self/status");
    const std::size_t line = status.find("VmRSS:");
    return std::stod(status.substr(line + 6)) / 1024.0;
}

void Report(const char* what, std::vector<double> values, const char* unit) {
    std::sort(values.begin(), values.end());
    std::cout << std::left << std::setw(34) << what << std::fixed << std::setprecision(3);
    for (double value : values)
        std::cout << std::setw(9) << value;
    std::cout << " median " << values[kRuns / 2] << " " << unit << ", spread "
              << values.back() - values.front() << "\n";
}

} // namespace

int main(int argc, char** argv) {
    const std::string path = argc > 1 ? argv[1] : std::string(QUORVEX_TEST_DATA) + "/cedict_ts.u8";
    std::vector<double> loads, loadCpu, lookups, bytes, resident;
    for (int run = 0; run < kRuns; ++run) {
        const double residentBefore = ResidentMiB();
        const Clock::time_point start = Clock::now();
        const std::clock_t cpuStart = std::clock();
        const dictionaries::CedictIndex index(platform::ReadWholeFile(path));
        loadCpu.push_back(1000.0 * static_cast<double>(std::clock() - cpuStart) / CLOCKS_PER_SEC);
        loads.push_back(Milliseconds(Clock::now() - start));
        resident.push_back(ResidentMiB() - residentBefore);
        bytes.push_back(index.MemoryBytes() / 1048576.0);

        dictionaries::CedictSource source(path);
        source.Lookup("你好", kLanguagePairs[1]); // builds the shared index once
        const Clock::time_point lookupStart = Clock::now();
        constexpr int kRepeats = 1000;
        for (int i = 0; i < kRepeats; ++i)
            for (const auto& [word, pair] : kWords)
                source.Lookup(word, *pair);
        lookups.push_back(Milliseconds(Clock::now() - lookupStart) / (kRepeats * kWords.size()));
    }
    std::cout << "CC-CEDICT " << path << "\n";
    Report("index build, wall time", loads, "ms");
    // On a shared machine the wall time includes waiting for a core; the CPU time does not.
    Report("index build, CPU time", loadCpu, "ms");
    Report("lookup (mean of 6 words x 1000)", lookups, "ms");
    Report("index memory (own count)", bytes, "MiB");
    Report("resident growth while building", resident, "MiB");
}
