// Date conversion over every day of civil years 1583..6773, both ways, against ICU's Hebrew
// calendar in the same run; prints how many times faster ours is (the target is 10x or more).
#include <benchmark/benchmark.h>
#include <unicode/calendar.h>
#include <unicode/locid.h>
#include <unicode/timezone.h>

#include <chrono>
#include <cstdio>
#include <memory>
#include <vector>

#include "calendar/hebrew_calendar.h"

namespace {

using namespace lekta;

constexpr int32_t JULIAN_DAY_OF_DAY_ZERO = 1721425;

struct Range {
    int32_t first = day_number_from_civil(1, 1, 1583);
    int32_t last = day_number_from_civil(12, 31, 6773);
    std::vector<DateRecord> hebrew;  // of every day, for the way back
    int64_t count() const { return int64_t{last} - first + 1; }
};

const Range& range() {
    static const Range r = [] {
        Range x;
        for (int32_t n = x.first; n <= x.last; ++n)
            x.hebrew.push_back(hebrew_from_day_number(n));
        return x;
    }();
    return r;
}

// ICU counts months from Tishri = 0; Adar of a common year is 6, Adar I (leap years only) 5.
int32_t icu_month(int32_t month, bool leap) {
    if (month >= 7 && month <= 11) return month - 7;
    if (month == 12) return leap ? 5 : 6;
    if (month == 13) return 6;
    return month + 6;
}

std::unique_ptr<icu::Calendar> make_icu_hebrew() {
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<icu::Calendar> cal(icu::Calendar::createInstance(
        icu::TimeZone::createTimeZone("GMT"), icu::Locale("he_IL@calendar=hebrew"), status));
    if (U_FAILURE(status)) std::abort();
    return cal;
}

// Nanoseconds per conversion of each benchmark, for the closing ratios.
double g_ns[4];
enum { OURS_TO_HEBREW, OURS_FROM_HEBREW, ICU_TO_HEBREW, ICU_FROM_HEBREW };

template <typename Pass>
void run(benchmark::State& state, int which, Pass pass) {
    const Range& r = range();
    const auto start = std::chrono::steady_clock::now();
    for (auto _ : state)
        pass(r);
    const double ns =
        std::chrono::duration<double, std::nano>(std::chrono::steady_clock::now() - start).count();
    const int64_t items = state.iterations() * r.count();
    g_ns[which] = ns / static_cast<double>(items);
    state.SetItemsProcessed(items);
}

void BM_OursDayToHebrew(benchmark::State& state) {
    run(state, OURS_TO_HEBREW, [](const Range& r) {
        for (int32_t n = r.first; n <= r.last; ++n) {
            benchmark::DoNotOptimize(hebrew_from_day_number(n));
        }
    });
}

void BM_OursHebrewToDay(benchmark::State& state) {
    run(state, OURS_FROM_HEBREW, [](const Range& r) {
        for (const DateRecord& h : r.hebrew) {
            benchmark::DoNotOptimize(day_number_from_hebrew(h.month, h.day, h.year));
        }
    });
}

void BM_IcuDayToHebrew(benchmark::State& state) {
    auto cal = make_icu_hebrew();
    run(state, ICU_TO_HEBREW, [&](const Range& r) {
        UErrorCode status = U_ZERO_ERROR;
        for (int32_t n = r.first; n <= r.last; ++n) {
            cal->set(UCAL_JULIAN_DAY, n + JULIAN_DAY_OF_DAY_ZERO);
            benchmark::DoNotOptimize(cal->get(UCAL_EXTENDED_YEAR, status));
            benchmark::DoNotOptimize(cal->get(UCAL_MONTH, status));
            benchmark::DoNotOptimize(cal->get(UCAL_DATE, status));
        }
    });
}

void BM_IcuHebrewToDay(benchmark::State& state) {
    auto cal = make_icu_hebrew();
    run(state, ICU_FROM_HEBREW, [&](const Range& r) {
        UErrorCode status = U_ZERO_ERROR;
        for (const DateRecord& h : r.hebrew) {
            cal->clear();
            cal->set(UCAL_EXTENDED_YEAR, h.year);
            cal->set(UCAL_MONTH, icu_month(h.month, is_hebrew_leap_year(h.year)));
            cal->set(UCAL_DATE, h.day);
            benchmark::DoNotOptimize(cal->get(UCAL_JULIAN_DAY, status));
        }
    });
}

BENCHMARK(BM_OursDayToHebrew)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OursHebrewToDay)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_IcuDayToHebrew)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_IcuHebrewToDay)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    const double* ns = g_ns;
    if (ns[OURS_TO_HEBREW] > 0 && ns[ICU_TO_HEBREW] > 0) {
        std::printf("day -> Hebrew: ours %.1f ns, ICU %.1f ns, %.1fx\n", ns[OURS_TO_HEBREW],
                    ns[ICU_TO_HEBREW], ns[ICU_TO_HEBREW] / ns[OURS_TO_HEBREW]);
    }
    if (ns[OURS_FROM_HEBREW] > 0 && ns[ICU_FROM_HEBREW] > 0) {
        std::printf("Hebrew -> day: ours %.1f ns, ICU %.1f ns, %.1fx\n", ns[OURS_FROM_HEBREW],
                    ns[ICU_FROM_HEBREW], ns[ICU_FROM_HEBREW] / ns[OURS_FROM_HEBREW]);
    }
    const double ours = ns[OURS_TO_HEBREW] + ns[OURS_FROM_HEBREW];
    const double icu = ns[ICU_TO_HEBREW] + ns[ICU_FROM_HEBREW];
    if (ours > 0 && icu > 0 && ns[OURS_TO_HEBREW] > 0 && ns[OURS_FROM_HEBREW] > 0) {
        std::printf("calendar speedup vs ICU: %.1fx (target >= 10x)\n", icu / ours);
    }
    return 0;
}
