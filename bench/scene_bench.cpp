// The cost of composing a frame: a full paint of a screen of twenty figures
// (a background, buttons, texts, markers and a clock). The plain and keyed
// copies of one frame that every paint is made of are in graphics_bench.cpp.
#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

#include "figures/Button.h"
#include "figures/Clock.h"
#include "figures/Image.h"
#include "figures/Text.h"
#include "platform/headless/headless.h"
#include "platform/window.h"
#include "scene/Screen.h"

namespace {

using namespace platform;

std::intptr_t quietProcedure(Window* w, std::uint32_t m, std::uintptr_t wp, std::intptr_t lp, Point p) {
    return defWindowProc(w, m, wp, lp, p);
}

Window* benchWindow() {
    headless::reset();
    registerClass({0, quietProcedure, moduleHandle(), L"BENCH"});
    return createWindow(L"BENCH", L"Bench", WS_VISIBLE, moduleHandle());
}

// A screen whose constructor lays out twenty figures like the game screen's.
class TwentyFigures : public Screen {
public:
    explicit TwentyFigures(Window* window) : Screen(window, moduleHandle(), nullptr) {
        auto* back = new Image(this, window, 138);
        back->setZ(1);
        background = back;
        addFigure(back);
        auto* clock = new Clock(this, window, {40, 30, 200, 190}, rgb(131, 132, 1), rgb(56, 57, 1),
                                rgb(255, 181, 132));
        addFigure(clock);
        const int buttons[][3] = {{140, 10, 180}, {139, 10, 205}, {140, 190, 180}, {139, 190, 205},
                                  {141, 90, 230}, {120, 10, 10}};
        for (const auto& b : buttons) {
            auto* button = new Button(this, window, b[0]);
            button->setX(b[1]);
            button->setY(b[2]);
            addFigure(button);
        }
        for (int i = 0; i < 9; ++i) {
            auto* marker = new Image(this, window, 118);
            marker->setX(220 - i * 15);
            marker->setY(300);
            addFigure(marker);
        }
        const wchar_t* lines[] = {L"Hour", L"Minute", L"Set time to 12:55 in the past", L"Score"};
        const int places[][2] = {{55, 190}, {135, 190}, {10, 270}, {90, 5}};
        for (int i = 0; i < 3; ++i) {
            auto* text = new Text(this, window, lines[i], rgb(56, 57, 1));
            text->setX(places[i][0]);
            text->setY(places[i][1]);
            addFigure(text);
        }
    }
    ~TwentyFigures() override { destroyAllFigures(); }
    int figureCount() const { return figures.count(); }
};

void ScreenFullPaintOfTwentyFigures(benchmark::State& state) {
    Window* window = benchWindow();
    TwentyFigures screen(window);
    Picture target(DISPLAY_WIDTH, DISPLAY_HEIGHT);
    state.counters["figures"] = screen.figureCount();
    for (auto _ : state) {
        screen.paint(target, true);
        benchmark::DoNotOptimize(target.row(0));
    }
}
BENCHMARK(ScreenFullPaintOfTwentyFigures);

}  // namespace
