// Costs of the per-frame drawing work: full-display copies (plain and
// keyed), the clock's hands and centre disc, and a screen's worth of
// captions made from scratch (font, extent, drawing) as a repaint does.
#include <benchmark/benchmark.h>

#include <string>

#include "platform/platform.h"

using namespace platform;

namespace {

constexpr Colour KEY = rgb(246, 140, 197);

Picture keyedDisplay() {
    Picture p(DISPLAY_WIDTH, DISPLAY_HEIGHT);
    for (int y = 0; y < p.height(); ++y)
        for (int x = 0; x < p.width(); ++x)
            p.setPixel(x, y, ((x / 7 + y / 5) & 1) ? KEY : rgb(x, y, 40));
    return p;
}

void copyDisplay(benchmark::State& state) {
    const Picture source = keyedDisplay();
    Picture target(DISPLAY_WIDTH, DISPLAY_HEIGHT);
    for (auto _ : state) {
        copy(target, 0, 0, DISPLAY_WIDTH, DISPLAY_HEIGHT, source, 0, 0);
        benchmark::DoNotOptimize(target.row(0));
    }
}
BENCHMARK(copyDisplay);

void copyKeyedDisplay(benchmark::State& state) {
    const Picture source = keyedDisplay();
    Picture target(DISPLAY_WIDTH, DISPLAY_HEIGHT);
    for (auto _ : state) {
        copyKeyed(target, 0, 0, DISPLAY_WIDTH, DISPLAY_HEIGHT, source, 0, 0, KEY);
        benchmark::DoNotOptimize(target.row(0));
    }
}
BENCHMARK(copyKeyedDisplay);

void clockHands(benchmark::State& state) {
    Picture clock(160, 160);
    const Point minute[] = {{80, 80}, {48, 25}};
    const Point hour[] = {{80, 80}, {108, 52}};
    for (auto _ : state) {
        fillRect(clock, {0, 0, 160, 160}, KEY);
        polyline(clock, minute, Pen{Pen::Style::solid, 7, rgb(0, 0, 200)});
        polyline(clock, hour, Pen{Pen::Style::solid, 7, rgb(0, 120, 0)});
        ellipse(clock, {76, 76, 84, 84}, Pen{Pen::Style::solid, 7, rgb(200, 0, 0)}, WHITE);
        benchmark::DoNotOptimize(clock.row(0));
    }
}
BENCHMARK(clockHands);

// One caption as a repaint makes it: the font, the extent, the picture, the text.
void makeCaption(std::wstring_view text) {
    FontDescription description;
    description.height = 18;
    description.weight = FW_BOLD;
    description.pitchAndFamily = FF_SWISS;
    const Font font(description);
    const Size size = font.extent(text);
    Picture caption(size.width, size.height);
    font.drawCentred(caption, {0, 0, size.width, size.height}, text, BLACK, KEY);
    benchmark::DoNotOptimize(caption.row(0));
}

void tenCaptions(benchmark::State& state) {
    for (auto _ : state)
        for (int i = 0; i < 10; ++i) makeCaption(std::to_wstring(i * 7 + 3));
}
BENCHMARK(tenCaptions);

void promptCaption(benchmark::State& state) {
    for (auto _ : state) makeCaption(L"Set time to 12:55 in the past");
}
BENCHMARK(promptCaption);

}  // namespace
