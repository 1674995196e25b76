// Unpacking the demo book's records against memcpy of the same sizes, and a year of fetches.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "store/book.h"
#include "store/lesson_store.h"

namespace {

using namespace lekta;

std::vector<PackedRecord> all_records() {
    std::vector<PackedRecord> records;
    // The regular months 1001..1012, then the leap-cycle months 1049..1061.
    std::vector<uint16_t> ids;
    for (int m = 1; m <= 12; ++m)
        ids.push_back(static_cast<uint16_t>(1000 + m));
    for (int m = 1; m <= 13; ++m)
        ids.push_back(static_cast<uint16_t>(1048 + m));
    for (uint16_t id : ids) {
        auto resource = find_resource(id);
        if (!resource || resource->size() < 6) continue;
        const auto area = resource->subspan(6);
        for (int32_t i = 0;; ++i) {
            auto record = find_lesson_record(area, i);
            if (!record) break;
            records.push_back(*record);
        }
    }
    return records;
}

double g_unpack_rate = 0, g_memcpy_rate = 0;

void BM_UnpackEveryRecord(benchmark::State& state) {
    const auto records = all_records();
    int64_t bytes = 0;
    for (auto _ : state) {
        for (const PackedRecord& r : records) {
            LessonText text = unpack_record(r.packed, r.unpacked_length);
            benchmark::DoNotOptimize(text.bytes.get());
            bytes += r.unpacked_length;
        }
    }
    state.SetBytesProcessed(bytes);
    state.counters["records"] = static_cast<double>(records.size());
}

// The baseline: the same output sizes allocated and copied from the packed bytes' neighbourhood.
void BM_MemcpySameSizes(benchmark::State& state) {
    const auto records = all_records();
    std::vector<uint8_t> source(70000, 'a');
    int64_t bytes = 0;
    for (auto _ : state) {
        for (const PackedRecord& r : records) {
            auto out = std::make_unique<uint8_t[]>(r.unpacked_length + 2u);
            std::memcpy(out.get(), source.data(), r.unpacked_length);
            benchmark::DoNotOptimize(out.get());
            bytes += r.unpacked_length;
        }
    }
    state.SetBytesProcessed(bytes);
}

// What a search that finds nothing does: every lesson of the year fetched and released.
void BM_FetchEveryLessonOfAYear(benchmark::State& state) {
    std::vector<uint16_t> keys;
    for (int month = 1; month <= 12; ++month) {
        const int days = month == 8 || month == 9 ? 31 : (month % 2 ? 30 : 29);
        for (int day = 1; day <= days; ++day)
            keys.push_back(static_cast<uint16_t>(month << 8 | day));
    }
    for (auto _ : state) {
        for (uint16_t key : keys) {
            LessonText text = fetch_lesson_text(key);
            benchmark::DoNotOptimize(text.bytes.get());
        }
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(keys.size()));
}

BENCHMARK(BM_UnpackEveryRecord)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MemcpySameSizes)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FetchEveryLessonOfAYear)->Unit(benchmark::kMillisecond);

class RateReporter : public benchmark::ConsoleReporter {
  public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            auto it = run.counters.find("bytes_per_second");
            if (it == run.counters.end()) continue;
            if (run.benchmark_name().find("Unpack") != std::string::npos)
                g_unpack_rate = it->second;
            if (run.benchmark_name().find("Memcpy") != std::string::npos)
                g_memcpy_rate = it->second;
        }
        ConsoleReporter::ReportRuns(runs);
    }
};

}  // namespace

int main(int argc, char** argv) {
    std::string error;
    if (!use_embedded_book(&error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    benchmark::Initialize(&argc, argv);
    RateReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    if (g_unpack_rate > 0 && g_memcpy_rate > 0) {
        std::printf(
            "unpacking: %.0f MB/s of output; memcpy of the same sizes: %.0f MB/s; "
            "unpacking runs at %.2f of memcpy's speed\n",
            g_unpack_rate / 1e6, g_memcpy_rate / 1e6, g_unpack_rate / g_memcpy_rate);
    }
    benchmark::Shutdown();
    return 0;
}
