// A search that finds nothing walks the whole year: every lesson fetched, unpacked and
// matched. Measured against fetching and unpacking the same lessons without matching, on the
// demo book and on a generated book with ten times its text; and the unpacking itself against
// a plain byte-at-a-time decoder of the same records.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "platform/test/test_system.h"
#include "search/search.h"
#include "state/reader.h"
#include "state/settings.h"
#include "store/book.h"
#include "store/lesson_store.h"
#include "store/test_book_writer.h"
#include "tools/lekta-pack/palmdoc.h"

namespace {

using namespace lekta;

// Ends with the commonest letter, so the matcher stops at many places; occurs nowhere.
constexpr char NOWHERE[] = "{{qa";
constexpr uint16_t START_KEY = 0x0101;  // 1 Nisan

std::vector<uint8_t> g_demo_file, g_tenfold_file;
std::map<std::string, double> g_ms;  // per benchmark name, milliseconds per iteration

void use(const std::vector<uint8_t>& file) {
    std::string error;
    if (!use_book_bytes(file, &error, "bench book")) {
        std::fprintf(stderr, "%s\n", error.c_str());
        std::exit(1);
    }
}

// The keys a search from START_KEY visits, in its order.
std::vector<uint16_t> year_keys() {
    std::vector<uint16_t> keys;
    uint16_t key = START_KEY + 1;
    for (;; ++key) {
        if ((key & 0xFF) >= 32) {
            const int m = (key >> 8) & 0x0F;
            key = static_cast<uint16_t>((key & 0x1000) | (m < 13 ? m + 1 : 1) << 8 | 1);
        }
        if (key == START_KEY) break;
        keys.push_back(key);
    }
    return keys;
}

void search_nothing(benchmark::State& state, const std::vector<uint8_t>& file) {
    use(file);
    g_settings = Settings{};
    g_reader = Reader{};
    std::memcpy(g_settings.search_string, NOWHERE, sizeof NOWHERE);
    g_settings.current_lesson = START_KEY;
    g_reader.hebrew_date = {1, 1, 5785};
    for (auto _ : state) {
        testplat::message_boxes().clear();
        benchmark::DoNotOptimize(search_next(nullptr));
    }
    if (testplat::message_boxes().size() != 1) state.SkipWithError("the word was found");
}

void fetch_year(benchmark::State& state, const std::vector<uint8_t>& file) {
    use(file);
    const auto keys = year_keys();
    int64_t bytes = 0;
    for (auto _ : state) {
        for (uint16_t key : keys) {
            LessonText text = fetch_lesson_text(key);
            benchmark::DoNotOptimize(text.bytes.get());
            bytes += text.length;
        }
    }
    state.SetBytesProcessed(bytes);
}

void BM_SearchNothing_Demo(benchmark::State& state) {
    search_nothing(state, g_demo_file);
}
void BM_FetchYear_Demo(benchmark::State& state) {
    fetch_year(state, g_demo_file);
}
void BM_SearchNothing_Tenfold(benchmark::State& state) {
    search_nothing(state, g_tenfold_file);
}
void BM_FetchYear_Tenfold(benchmark::State& state) {
    fetch_year(state, g_tenfold_file);
}

// Every packed record of the year's lessons in the demo book.
std::vector<PackedRecord> year_records() {
    use(g_demo_file);
    std::vector<PackedRecord> records;
    for (int m = 1; m <= 12; ++m) {
        auto resource = find_resource(static_cast<uint16_t>(1000 + m));
        if (!resource) continue;
        const auto area = record_area(*resource);
        for (int32_t i = 0;; ++i) {
            auto record = find_lesson_record(area, i);
            if (!record) break;
            records.push_back(*record);
        }
    }
    return records;
}

// The packing scheme decoded the plain way: one byte, one decision, one bounds check.
bool plain_unpack(std::span<const uint8_t> src, uint8_t* dst, size_t size) {
    size_t in = 0, out = 0;
    while (in < src.size() && out < size) {
        const unsigned c = src[in++];
        if (c >= 1 && c <= 8) {
            for (unsigned i = 0; i < c; ++i) {
                if (in >= src.size() || out >= size) return false;
                dst[out++] = src[in++];
            }
        } else if (c < 0x80) {
            dst[out++] = static_cast<uint8_t>(c);
        } else if (c >= 0xC0) {
            dst[out++] = ' ';
            if (out >= size) return false;
            dst[out++] = static_cast<uint8_t>(c ^ 0x80);
        } else {
            if (in >= src.size()) return false;
            const unsigned pair = c << 8 | src[in++];
            const size_t distance = (pair >> 3) & 0x7FF, length = (pair & 7) + 3;
            if (distance == 0 || distance > out) return false;
            for (size_t i = 0; i < length; ++i) {
                if (out >= size) return false;
                dst[out] = dst[out - distance];
                ++out;
            }
        }
    }
    return out == size;
}

void BM_Unpack(benchmark::State& state) {
    const auto records = year_records();
    int64_t bytes = 0;
    for (auto _ : state) {
        for (const PackedRecord& r : records) {
            LessonText text = unpack_record(r.packed, r.unpacked_length);
            benchmark::DoNotOptimize(text.bytes.get());
            bytes += r.unpacked_length;
        }
    }
    state.SetBytesProcessed(bytes);
}

void BM_PlainUnpack(benchmark::State& state) {
    const auto records = year_records();
    int64_t bytes = 0;
    for (auto _ : state) {
        for (const PackedRecord& r : records) {
            auto out = std::make_unique_for_overwrite<uint8_t[]>(r.unpacked_length + 2u);
            if (!plain_unpack(r.packed, out.get(), r.unpacked_length))
                state.SkipWithError("bad record");
            benchmark::DoNotOptimize(out.get());
            bytes += r.unpacked_length;
        }
    }
    state.SetBytesProcessed(bytes);
}

BENCHMARK(BM_SearchNothing_Demo)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FetchYear_Demo)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SearchNothing_Tenfold)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FetchYear_Tenfold)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Unpack)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainUnpack)->Unit(benchmark::kMillisecond);

// The demo book with every regular lesson's text repeated up to ten times, packed again. A
// month resource holds at most 65,535 bytes of packed records, and the packing gives at most
// five bytes for two, so a month takes as many repetitions as fit (the factor is printed).
size_t g_demo_bytes = 0, g_tenfold_bytes = 0;

std::vector<uint8_t> lesson_repeated(const LessonText& text, int times) {
    std::vector<uint8_t> body(text.bytes.get(), text.bytes.get() + text.length);
    while (!body.empty() && body.back() == 0)
        body.pop_back();
    body.push_back(0);  // the last paragraph's zero byte
    std::vector<uint8_t> grown;
    for (int k = 0; k < times && grown.size() + body.size() + 4 <= 0xFFFF; ++k)
        grown.insert(grown.end(), body.begin(), body.end());
    grown.insert(grown.end(), 4, 0);
    return grown;
}

std::vector<uint8_t> make_tenfold_book() {
    std::vector<std::pair<uint16_t, testbook::Bytes>> resources;
    for (int m = 1; m <= 12; ++m) {
        const auto id = static_cast<uint16_t>(1000 + m);
        auto resource = find_resource(id);
        if (!resource) continue;
        const auto area = record_area(*resource);
        std::vector<LessonText> lessons;
        for (int32_t i = 0;; ++i) {
            auto record = find_lesson_record(area, i);
            if (!record) break;
            lessons.push_back(unpack_record(record->packed, record->unpacked_length));
        }
        for (int times = 10; times >= 1; --times) {
            std::vector<testbook::Record> records;
            size_t packed = 4, demo = 0, grown_total = 0;
            for (const LessonText& text : lessons) {
                const auto grown = lesson_repeated(text, times);
                records.push_back({pack::palmdoc_pack(grown), static_cast<uint16_t>(grown.size())});
                packed += 4 + records.back().packed.size();
                demo += text.length;
                grown_total += grown.size();
            }
            if (packed > 0xFFFF && times > 1) continue;
            g_demo_bytes += demo;
            g_tenfold_bytes += grown_total;
            const uint16_t days = static_cast<uint16_t>((*resource)[4] << 8 | (*resource)[5]);
            resources.emplace_back(id, testbook::resource(records, days));
            break;
        }
    }
    if (auto index = find_resource(INDEX_RESOURCE_ID))
        resources.emplace_back(INDEX_RESOURCE_ID, testbook::Bytes(index->begin(), index->end()));
    return testbook::book_file(resources, false);
}

class TimeReporter : public benchmark::ConsoleReporter {
  public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs)
            g_ms[run.benchmark_name()] = run.GetAdjustedCPUTime();  // a shared machine: CPU time
        ConsoleReporter::ReportRuns(runs);
    }
};

double ratio(const char* a, const char* b) {
    return g_ms.count(a) && g_ms.count(b) && g_ms[b] > 0 ? g_ms[a] / g_ms[b] : 0;
}

}  // namespace

int main(int argc, char** argv) {
    std::string error;
    if (!use_embedded_book(&error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    g_tenfold_file = make_tenfold_book();
    // The demo book as a file of the same kind, so both books load the same way.
    {
        std::vector<std::pair<uint16_t, testbook::Bytes>> resources;
        for (uint16_t id = 1001; id <= 1012; ++id)
            if (auto r = find_resource(id))
                resources.emplace_back(id, testbook::Bytes(r->begin(), r->end()));
        if (auto r = find_resource(INDEX_RESOURCE_ID))
            resources.emplace_back(INDEX_RESOURCE_ID, testbook::Bytes(r->begin(), r->end()));
        g_demo_file = testbook::book_file(resources, false);
    }
    benchmark::Initialize(&argc, argv);
    TimeReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    std::printf(
        "generated book: %.2f times the text of the demo book's regular lessons (%zu against %zu "
        "bytes)\n",
        double(g_tenfold_bytes) / double(g_demo_bytes), g_tenfold_bytes, g_demo_bytes);
    std::printf("search finding nothing / fetching the same year, demo book: %.2f (at most 2)\n",
                ratio("BM_SearchNothing_Demo", "BM_FetchYear_Demo"));
    std::printf("search finding nothing / fetching the same year, tenfold book: %.2f\n",
                ratio("BM_SearchNothing_Tenfold", "BM_FetchYear_Tenfold"));
    const double growth = double(g_tenfold_bytes) / double(g_demo_bytes);
    std::printf(
        "search finding nothing, generated book / demo book: %.2f for %.1f times the text "
        "(at most %.1f)\n",
        ratio("BM_SearchNothing_Tenfold", "BM_SearchNothing_Demo"), growth, growth);
    std::printf("plain byte-at-a-time decoder / unpacking, same records: %.2f (at least 3)\n",
                ratio("BM_PlainUnpack", "BM_Unpack"));
    benchmark::Shutdown();
    return 0;
}
