#include <SDL.h>
#include <SDL_image.h>
#include <SDL_mixer.h>
#include <SDL_ttf.h>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "BenchSummary.h"
#include "BenchSupport.h"
#include "world/Texture.h"

namespace {

using bench::ratio;
using bench::SummaryReporter;
using bench::timeTarget;
using bench::verdict;

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
    return bench::runBenchmarks(argc, argv, printSummary);
}
