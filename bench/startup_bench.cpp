// Start-up cost: the reader started offscreen on a fixed date until its window has painted and been
// saved as an image, against a minimal Qt program that shows one empty window, paints it once and
// saves it the same way. Both save an uncompressed BMP: compressing a picture is no part of
// starting up. Each run is a child process: wall time to its exit and its peak resident memory.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "state/reader.h"
#include "state/registry.h"

namespace {

// Every run of both programs, in the order they ran.
struct Runs {
    std::vector<double> ms;
    std::vector<double> rss_mb;
};
Runs g_reader, g_baseline;

std::string g_config_dir;
std::string g_image;

struct ChildRun {
    double seconds = 0;
    long rss_kb = 0;
    bool ok = false;
};

ChildRun run_child(const std::vector<std::string>& args) {
    std::vector<char*> argv;
    for (const std::string& a : args)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    ChildRun run;
    const auto start = std::chrono::steady_clock::now();
    const pid_t pid = fork();
    if (pid < 0) return run;
    if (pid == 0) {
        const int null = open("/dev/null", O_WRONLY);
        if (null >= 0) dup2(null, STDOUT_FILENO);
        execv(argv[0], argv.data());
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    if (wait4(pid, &status, 0, &usage) != pid) return run;
    run.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    run.rss_kb = usage.ru_maxrss;  // kilobytes on Linux
    run.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    return run;
}

double median(std::vector<double> values) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    const size_t mid = values.size() / 2;
    return values.size() % 2 ? values[mid] : (values[mid - 1] + values[mid]) / 2;
}

bool record(const std::vector<std::string>& args, Runs& runs, benchmark::State& state) {
    const ChildRun run = run_child(args);
    if (!run.ok) {
        state.SkipWithError(("failed: " + args[0]).c_str());
        return false;
    }
    runs.ms.push_back(1000 * run.seconds);
    runs.rss_mb.push_back(static_cast<double>(run.rss_kb) / 1024);
    return true;
}

// Each iteration starts both programs, taking turns at going first, so that a machine that
// speeds up or slows down during the run weighs on both alike. The iteration's time is the
// reader's.
void start_up(benchmark::State& state) {
    const std::vector<std::string> reader = {LEKTA_BINARY, "--screenshot", g_image, "--date",
                                             "2026-12-07"};
    const std::vector<std::string> baseline = {MINIMAL_QT_WINDOW_BINARY,
                                               g_config_dir + "/minimal.bmp"};
    bool reader_first = true;
    for (auto _ : state) {
        std::filesystem::remove(g_image);
        const bool ok =
            reader_first ? record(reader, g_reader, state) && record(baseline, g_baseline, state)
                         : record(baseline, g_baseline, state) && record(reader, g_reader, state);
        if (!ok) return;
        if (!std::filesystem::exists(g_image)) {
            state.SkipWithError("the reader saved no image");
            return;
        }
        state.SetIterationTime(g_reader.ms.back() / 1000);
        reader_first = !reader_first;
    }
    state.counters["reader_ms"] = median(g_reader.ms);
    state.counters["minimal_window_ms"] = median(g_baseline.ms);
    state.counters["reader_peak_MB"] = median(g_reader.rss_mb);
    state.counters["minimal_window_peak_MB"] = median(g_baseline.rss_mb);
}

void print_ratio(const char* what, double reader, double baseline, const char* unit) {
    if (baseline <= 0) return;
    std::printf(
        "%s (medians): reader %.1f %s, minimal Qt window %.1f %s, ratio %.2fx (target <= 1.5x)\n",
        what, reader, unit, baseline, unit, reader / baseline);
}

}  // namespace

int main(int argc, char** argv) {
    // The children draw offscreen into a settings folder of their own, in which a font is already
    // chosen, so that nothing but the start-up itself is measured.
    char dir_template[] = "/tmp/lekta-startup-XXXXXX";
    if (!mkdtemp(dir_template)) return 1;
    g_config_dir = dir_template;
    g_image = g_config_dir + "/x.bmp";
    setenv("LEKTA_CONFIG_DIR", g_config_dir.c_str(), 1);
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    lekta::write_string_value(u"FontName", u"DejaVu Sans");
    lekta::plat::registry_flush();

    int runs = 15;
    if (const char* n = std::getenv("LEKTA_STARTUP_RUNS")) runs = std::max(1, std::atoi(n));
    benchmark::RegisterBenchmark("reader_start_to_first_paint", start_up)
        ->UseManualTime()
        ->Iterations(runs)
        ->Unit(benchmark::kMillisecond);

    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();

    if (!g_reader.ms.empty() && g_reader.ms.size() == g_baseline.ms.size()) {
        print_ratio("start-up time", median(g_reader.ms), median(g_baseline.ms), "ms");
        print_ratio("peak memory", median(g_reader.rss_mb), median(g_baseline.rss_mb), "MB");
    }
    std::error_code error;
    std::filesystem::remove_all(g_config_dir, error);
    return 0;
}
