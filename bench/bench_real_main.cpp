// zelvane_bench_real: the game's frames through its real renderer in a real
// window (see bench_real_frame.cpp). It needs an X display; on a machine
// without a screen a virtual one does:
//   cd build && xvfb-run -a -s "-screen 0 1280x800x24" ./zelvane_bench_real
#include <SDL.h>
#include <SDL_image.h>
#include <SDL_mixer.h>
#include <SDL_ttf.h>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "BenchSummary.h"
#include "world/Texture.h"

namespace {

using bench::SummaryReporter;

// The game frame against the plain frame it was measured beside.
const double REAL_TO_PLAIN_TARGET = 1.3;

double counter(const SummaryReporter::Figures& f, const std::string& key) {
    auto value = f.counters.find(key);
    return value != f.counters.end() ? value->second : 0;
}

void printSummary(const SummaryReporter& figures) {
    std::printf("\nOpenGL renderer in an X window, vsync off; CPU of the whole process per frame (median)\n");
    for (int wave : {1, 10, 50, 100}) {
        const std::string name = "BM_RealFrame/wave:" + std::to_string(wave) + "/process_time";
        const SummaryReporter::Figures* f = figures.find(name);
        if (f == nullptr) continue;
        const double ratio = counter(*f, "real_to_plain");
        std::printf("  wave %3d: game frame %6.2f ms, plain frame beside it %6.2f ms: %4.2f x  at most %g x: %s\n",
                    wave, counter(*f, "frame_ms"), counter(*f, "plain_ms"), ratio, REAL_TO_PLAIN_TARGET,
                    bench::verdict(ratio <= REAL_TO_PLAIN_TARGET));
    }
    const SummaryReporter::Figures* plain = figures.find("BM_RealPlainFrame/process_time");
    if (plain != nullptr) std::printf("  plain frame alone: %6.2f ms\n", plain->cpuSeconds * 1e3);
}

}  // namespace

int main(int argc, char** argv) {
    const char* display = std::getenv("DISPLAY");
    if (display == nullptr || *display == '\0') {
        std::fprintf(stderr,
                     "zelvane_bench_real draws in a real window and needs a display. Without a screen:\n"
                     "  xvfb-run -a -s \"-screen 0 1280x800x24\" ./zelvane_bench_real\n");
        return 1;
    }
    setenv("SDL_VIDEODRIVER", "x11", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_AUDIO | SDL_INIT_EVENTS) != 0) {
        std::fprintf(stderr, "SDL_Init: %s\n", SDL_GetError());
        return 1;
    }
    if (std::strcmp(SDL_GetCurrentVideoDriver(), "x11") != 0) {
        std::fprintf(stderr, "SDL runs its \"%s\" video driver, not x11\n", SDL_GetCurrentVideoDriver());
        return 1;
    }
    return bench::runBenchmarks(argc, argv, printSummary);
}
