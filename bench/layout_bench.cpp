// Laying out every lesson of the demo book with the Qt backend's text measuring, against the
// same paragraphs broken into lines by QTextLayout (same fonts, same widths). Prints both times
// and the ratio (the target is 3x or better).
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QTextLayout>

#include <chrono>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "platform/qt/qt_internal.h"
#include "store/book.h"
#include "store/lesson_store.h"
#include "view/fonts.h"
#include "view/letter_code.h"
#include "view/text_view.h"

namespace {

using namespace lekta;

constexpr int32_t VIEW_HEIGHT = 600;

std::vector<LessonText> g_lessons;
std::map<int64_t, double> g_backend_ns, g_baseline_ns;  // per pass over the book, by width

// Every record of every month resource the book carries.
void load_lessons() {
    for (uint16_t id = 1001; id <= 1061; ++id) {
        if (id == 1013) id = 1049;
        auto resource = find_resource(id);
        if (!resource || resource->size() < 6) continue;
        std::span<const uint8_t> area = resource->subspan(6);
        for (int32_t index = 0;; ++index) {
            auto record = find_lesson_record(area, index);
            if (!record) break;
            LessonText text = unpack_record(record->packed, record->unpacked_length);
            if (text) g_lessons.push_back(std::move(text));
        }
    }
}

struct Timer {
    std::chrono::steady_clock::time_point start = std::chrono::steady_clock::now();
    double ns_per(int64_t n) const {
        auto elapsed = std::chrono::steady_clock::now() - start;
        return std::chrono::duration<double, std::nano>(elapsed).count() / double(n ? n : 1);
    }
};

void BM_LayoutWithBackend(benchmark::State& state) {
    const int32_t width = int32_t(state.range(0));
    QImage surface(1, 1, QImage::Format_RGB32);
    plat::Dc* dc = qtplat::create_image_dc(&surface);
    plat::Rect rect{0, 0, width, VIEW_HEIGHT};
    TextView* view = create_view(dc, &rect, FontSpec{}, 100);
    int64_t lines = 0;
    Timer timer;
    for (auto _ : state) {
        for (LessonText& lesson : g_lessons) {
            set_text(view, &lesson, RELAYOUT);
            lines += view->line_count;
            lesson = std::move(view->text);  // the view took it; hand it back for the next pass
        }
    }
    g_backend_ns[width] = timer.ns_per(state.iterations());
    state.counters["lines"] = double(lines) / double(state.iterations());
    destroy_view(view, true);
    qtplat::delete_image_dc(dc);
}

void BM_LayoutWithQTextLayout(benchmark::State& state) {
    const int32_t width = int32_t(state.range(0));
    std::map<uint8_t, plat::Font*> fonts;
    auto font_of = [&](uint8_t key) -> const QFont& {
        plat::Font*& font = fonts[key];
        if (!font) font = plat::create_font(font_for_key(FontSpec{}, key));
        return font->qfont;
    };
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    int64_t lines = 0;
    Timer timer;
    for (auto _ : state) {
        for (const LessonText& lesson : g_lessons) {
            uint32_t cursor = 0;
            ParagraphRecord record;
            while (next_paragraph(lesson.span(), cursor, record)) {
                if (is_rule(record.style) || record.length == 0) continue;
                const char16_t* run =
                    to_display_text(lesson.bytes.get() + record.offset, int32_t(record.length));
                if (!run) continue;
                QTextLayout layout(QString::fromUtf16(run, qsizetype(record.length)),
                                   font_of(record.style & FONT_KEY_MASK));
                layout.setTextOption(option);
                layout.beginLayout();
                for (QTextLine line = layout.createLine(); line.isValid();
                     line = layout.createLine()) {
                    line.setLineWidth(width);
                    ++lines;
                }
                layout.endLayout();
            }
        }
    }
    g_baseline_ns[width] = timer.ns_per(state.iterations());
    state.counters["lines"] = double(lines) / double(state.iterations());
    for (auto& [key, font] : fonts)
        plat::delete_font(font);
}

BENCHMARK(BM_LayoutWithBackend)->Arg(240)->Arg(480)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LayoutWithQTextLayout)->Arg(240)->Arg(480)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    if (!plat::init_gui(argc, argv)) return 1;
    std::string error;
    if (!use_embedded_book(&error)) {
        std::fprintf(stderr, "layout_bench: %s\n", error.c_str());
        return 1;
    }
    load_lessons();
    std::printf("%zu lessons\n", g_lessons.size());
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    for (auto [width, backend] : g_backend_ns) {
        auto baseline = g_baseline_ns.find(width);
        if (baseline == g_baseline_ns.end()) continue;
        std::printf(
            "width %3lld: backend %.2f ms, QTextLayout %.2f ms per book: %.1fx faster "
            "(target 3x)\n",
            static_cast<long long>(width), backend / 1e6, baseline->second / 1e6,
            baseline->second / backend);
    }
    benchmark::Shutdown();
    return 0;
}
