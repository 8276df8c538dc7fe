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

    void start_step();
    // Performs stage `stage` (1 to 4) from f and advances `stage`. Outside
    // a step (stage 5, or before start_step) it changes nothing.
    void stage_step(double h);

    // All point into one block owned by this object.
    double *y = nullptr; // state; the caller writes the initial state here
    double *ys = nullptr; // stage point at which the caller evaluates f
    double *f = nullptr; // right-hand side, written by the caller
    double *k[5] = {}; // k[0] stays zero; k[3] holds twice the third increment
    int last = -1; // index of the last equation, n - 1
    int stage = 5; // next stage: 1 after start_step, 5 after the fourth

private:
    // Indexed by stage; stage 3 weighs 1 because k[3] is already doubled.
    static constexpr double StageWeight[5] = { 0, 1, 2, 1, 1 };

    std::unique_ptr<double[]> m_storage;
};

// Inline: the motion computation runs these tens of millions of times.
inline void runge::start_step()
{
    for (int i = 0; i <= last; ++i) {
        ys[i] = y[i];
        k[0][i] = 0;
    }
    stage = 1;
}

inline void runge::stage_step(double h)
{
    const int s = stage;
    if (s < 1 || s > 4)
        return;
    for (int i = 0; i <= last; ++i) {
        ys[i] = ys[i] - 0.5 * k[s - 1][i]; // back to the step's start
        k[s][i] = h * f[i];
        if (s == 3)
            k[s][i] = 2 * k[s][i];
        ys[i] = ys[i] + 0.5 * k[s][i]; // the next stage point
        y[i] = y[i] + StageWeight[s] * k[s][i] * (1.0 / 6);
    }
    stage = s + 1;
}
