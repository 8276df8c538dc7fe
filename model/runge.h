#pragma once

#include <memory>

// One step of the classical fourth-order Runge-Kutta method for y' = F(y),
// driven stage by stage by the caller:
//   start_step();
//   while (stage < 5) { f = F(ys); stage_step(h); }
// The stage points ys are y0, y0 + k1/2, y0 + k2/2, y0 + k3; afterwards
// y = y0 + (k1 + 2 k2 + 2 k3 + k4) / 6. Time, if F needs it, is a component
// of y whose derivative the caller sets to 1.
class runge
{
public:
    // Allocates every vector once; a step allocates nothing.
    explicit runge(int n);

    runge(const runge &) = delete;
    runge &operator=(const runge &) = delete;

    [[gnu::always_inline]] void start_step();
    // Performs stage `stage` (1 to 4) from f and advances `stage`. Outside
    // a step (stage 5, or before start_step) it changes nothing.
    [[gnu::always_inline]] void stage_step(double h);

    // All point into one block owned by this object.
    double *y = nullptr; // state; the caller writes the initial state here
    double *ys = nullptr; // stage point at which the caller evaluates f
    double *f = nullptr; // right-hand side, written by the caller
    double *k[5] = {}; // k[0] stays zero; k[3] holds twice the third increment
    int last = -1; // index of the last equation, n - 1
    int stage = 5; // next stage: 1 after start_step, 5 after the fourth

private:
    template<int S>
    [[gnu::always_inline]] void advanceStage(double h);

    // Indexed by stage; stage 3 weighs 1 because k[3] is already doubled.
    static constexpr double StageWeight[5] = { 0, 1, 2, 1, 1 };

    std::unique_ptr<double[]> m_storage;
};

// Inline: the motion computation runs these tens of millions of times.
inline void runge::start_step()
{
    if (last == 2) { // the motion's t, x, v, unrolled
        // ys stored last, so that an inlined caller reads it from registers.
        k[0][0] = k[0][1] = k[0][2] = 0;
        ys[0] = y[0];
        ys[1] = y[1];
        ys[2] = y[2];
        stage = 1;
        return;
    }
    for (int i = 0; i <= last; ++i) {
        ys[i] = y[i];
        k[0][i] = 0;
    }
    stage = 1;
}

inline void runge::stage_step(double h)
{
    // One instance per stage, so that weight and doubling are constants.
    switch (stage) {
    case 1:
        advanceStage<1>(h);
        break;
    case 2:
        advanceStage<2>(h);
        break;
    case 3:
        advanceStage<3>(h);
        break;
    case 4:
        advanceStage<4>(h);
        break;
    default:
        return;
    }
    ++stage;
}

template<int S>
inline void runge::advanceStage(double h)
{
    const double *previous = k[S - 1];
    double *current = k[S];
    const auto increment = [h](double slope) {
        const double value = h * slope;
        return S == 3 ? 2 * value : value;
    };
    if (last == 2) {
        // The motion's t, x, v, unrolled; all loads before all stores and ys
        // stored last, so an inlined caller can keep f and ys in registers.
        const double i0 = increment(f[0]), i1 = increment(f[1]), i2 = increment(f[2]);
        const double p0 = ys[0] - 0.5 * previous[0], p1 = ys[1] - 0.5 * previous[1],
                     p2 = ys[2] - 0.5 * previous[2];
        const double s0 = y[0], s1 = y[1], s2 = y[2];
        current[0] = i0;
        current[1] = i1;
        current[2] = i2;
        y[0] = s0 + StageWeight[S] * i0 * (1.0 / 6);
        y[1] = s1 + StageWeight[S] * i1 * (1.0 / 6);
        y[2] = s2 + StageWeight[S] * i2 * (1.0 / 6);
        ys[0] = p0 + 0.5 * i0;
        ys[1] = p1 + 0.5 * i1;
        ys[2] = p2 + 0.5 * i2;
        return;
    }
    for (int i = 0; i <= last; ++i) {
        ys[i] = ys[i] - 0.5 * previous[i];
        const double value = increment(f[i]);
        current[i] = value;
        ys[i] = ys[i] + 0.5 * value;
        y[i] = y[i] + StageWeight[S] * value * (1.0 / 6);
    }
}
