#pragma once

#include <SDL.h>
#include <SDL_image.h>
#include <SDL_mixer.h>
#include <SDL_ttf.h>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "world/Texture.h"

// The summary printed after the table, shared by the benchmark programs.
namespace bench {

// The console table as usual, and each benchmark's figures kept for the
// summary: the median when repetitions ran, the only run otherwise.
class SummaryReporter : public benchmark::ConsoleReporter {
public:
    struct Figures {
        double cpuSeconds = 0;  // per iteration
        double realSeconds = 0;
        std::map<std::string, double> counters;
    };

    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.error_occurred) {
                errors += 1;
                continue;
            }
            const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
            if (run.run_type == Run::RT_Aggregate && !median) continue;
            const std::string name = run.run_name.str();
            if (run.run_type == Run::RT_Iteration && medians.count(name) != 0) continue;
            Figures& figures = (median ? medians : singles)[name];
            figures.cpuSeconds = run.GetAdjustedCPUTime() * unitSeconds(run.time_unit);
            figures.realSeconds = run.GetAdjustedRealTime() * unitSeconds(run.time_unit);
            for (const auto& [key, counter] : run.counters) figures.counters[key] = counter.value;
        }
    }

    // Figures of a benchmark by name, or null when it did not run.
    const Figures* find(const std::string& name) const {
        auto median = medians.find(name);
        if (median != medians.end()) return &median->second;
        auto single = singles.find(name);
        return single != singles.end() ? &single->second : nullptr;
    }

    int errors = 0;

private:
    static double unitSeconds(benchmark::TimeUnit unit) {
        switch (unit) {
            case benchmark::kNanosecond: return 1e-9;
            case benchmark::kMicrosecond: return 1e-6;
            case benchmark::kMillisecond: return 1e-3;
            case benchmark::kSecond: return 1.0;
        }
        return 1e-9;
    }

    std::map<std::string, Figures> medians;
    std::map<std::string, Figures> singles;
};

inline const char* verdict(bool met) { return met ? "met" : "MISSED"; }

inline void timeTarget(const SummaryReporter& figures, const char* what, const std::string& name, double limitSeconds) {
    const SummaryReporter::Figures* f = figures.find(name);
    if (f == nullptr) return;
    const bool micro = limitSeconds < 1e-3;
    const double scale = micro ? 1e6 : 1e3;
    const char* unit = micro ? "us" : "ms";
    std::printf("  %-40s %9.3f %s CPU (wall %9.3f)  at most %g %s: %s\n", what, f->cpuSeconds * scale, unit,
                f->realSeconds * scale, limitSeconds * scale, unit, verdict(f->cpuSeconds <= limitSeconds));
}

inline void ratio(const SummaryReporter& figures, const char* what, const std::string& slow, const std::string& fast,
           double atLeast) {
    const SummaryReporter::Figures* s = figures.find(slow);
    const SummaryReporter::Figures* f = figures.find(fast);
    if (s == nullptr || f == nullptr || f->cpuSeconds <= 0 || f->realSeconds <= 0) return;
    const double times = s->cpuSeconds / f->cpuSeconds;
    const double wallTimes = s->realSeconds / f->realSeconds;
    if (atLeast > 0) {
        std::printf("  %-40s %9.1f x  CPU (wall %9.1f x)  at least %g x: %s\n", what, times, wallTimes, atLeast,
                    verdict(times >= atLeast));
    } else {
        std::printf("  %-40s %9.1f x  CPU (wall %9.1f x)\n", what, times, wallTimes);
    }
}

// The rest of a benchmark program once SDL runs: the font library and the
// audio device as the game opens them, the benchmarks with their summary, and
// the shutdown. Returns the program's exit status.
inline int runBenchmarks(int argc, char** argv, void (*printSummary)(const SummaryReporter&)) {
    if (TTF_Init() != 0) {
        std::fprintf(stderr, "TTF_Init: %s\n", TTF_GetError());
        return 1;
    }
    const bool audioOpen = Mix_OpenAudio(44100, AUDIO_S16LSB, 2, 2048) == 0;

    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    SummaryReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    printSummary(reporter);
    benchmark::Shutdown();

    if (audioOpen) Mix_CloseAudio();
    clearImageCache();
    IMG_Quit();
    TTF_Quit();
    SDL_Quit();
    return reporter.errors == 0 ? 0 : 1;
}

}  // namespace bench
