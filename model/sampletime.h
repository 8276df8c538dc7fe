#pragma once

class MotionModel;
struct ModelParameters;

// The integration time of computed sample index of a motion computed from
// parameters: index · N · h, or (index − 1) · h when samples are taken before
// every step (N = 0, sample 1 repeating sample 0).
double SampleTime(const MotionModel &motion, const ModelParameters &parameters, int index);
