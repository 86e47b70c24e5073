#include <SDL.h>
#include <SDL_image.h>
#include <SDL_mixer.h>
#include <SDL_ttf.h>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "BenchSupport.h"
#include "Texture.h"

namespace {

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

const char* verdict(bool met) { return met ? "met" : "MISSED"; }

void timeTarget(const SummaryReporter& figures, const char* what, const std::string& name, double limitSeconds) {
    const SummaryReporter::Figures* f = figures.find(name);
    if (f == nullptr) return;
    const bool micro = limitSeconds < 1e-3;
    const double scale = micro ? 1e6 : 1e3;
    const char* unit = micro ? "us" : "ms";
    std::printf("  %-40s %9.3f %s CPU (wall %9.3f)  at most %g %s: %s\n", what, f->cpuSeconds * scale, unit,
                f->realSeconds * scale, limitSeconds * scale, unit, verdict(f->cpuSeconds <= limitSeconds));
}

void ratio(const SummaryReporter& figures, const char* what, const std::string& slow, const std::string& fast,
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

void counterTarget(const SummaryReporter& figures, const char* what, const std::string& name, const std::string& key) {
    const SummaryReporter::Figures* f = figures.find(name);
    if (f == nullptr) return;
    auto value = f->counters.find(key);
    if (value == f->counters.end()) return;
    std::printf("  %-40s %9.3f       none: %s\n", what, value->second, verdict(value->second == 0));
}

void printSummary(const SummaryReporter& figures) {
    std::printf("\nTargets, on CPU time per iteration (median when repeated); wall time beside it\n");
    timeTarget(figures, "whole frame, wave 100", "BM_Frame/wave:100", 4e-3);
    timeTarget(figures, "update alone, wave 100", "BM_FrameUpdateOnly/wave:100", 0.5e-3);
    timeTarget(figures, "load level 3", "BM_LoadLevel/level:3", 25e-3);
    timeTarget(figures, "path search (by reference)", "BM_PathSearch", 5e-6);
    counterTarget(figures, "files opened per shotgun shot", "BM_ShotgunShot", "files_opened_per_shot");
    counterTarget(figures, "images decoded per shotgun shot", "BM_ShotgunShot", "images_decoded_per_shot");
    std::printf("Ratios, side by side\n");
    for (int level = 1; level <= 3; ++level) {
        const std::string suffix = "/level:" + std::to_string(level) + "";
        const std::string what = "level " + std::to_string(level) + ": decode per platform / cached";
        ratio(figures, what.c_str(), "BM_LoadLevelDecodingPerPlatform" + suffix, "BM_LoadLevel" + suffix,
              level == 3 ? 10 : 0);
    }
    ratio(figures, "path search: copied state / by reference", "BM_PathSearchCopyingState",
          "BM_PathSearch", 0);
}

}  // namespace

int main(int argc, char** argv) {
    // No screen and no sound card: SDL's dummy drivers stand in for both.
    setenv("SDL_VIDEODRIVER", "dummy", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_AUDIO | SDL_INIT_EVENTS) != 0) {
        std::fprintf(stderr, "SDL_Init: %s\n", SDL_GetError());
        return 1;
    }
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
