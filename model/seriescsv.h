#pragma once

#include "model/csvtable.h"

class MotionModel;

// Writes the computed series as CSV: the header
// "index,time,coordinate,velocity,resistance_force,elastic_force,driving_force",
// then one row per sample 0 ... PlayableLastIndex(), time = index × printStep
// as SampleTimeText writes it, the other numbers with 9 significant digits,
// "." whatever the locale. The text goes to write in pieces; returns false as
// soon as write does.
bool WriteSeriesCsv(const MotionModel &model, float printStep, const CsvWriter &write);

// The same samples as a table with units: t_s (index × printStep with the
// print step's decimals), x_m, v_m_per_s, F_resistance_N, F_elastic_N,
// F_drive_N. The series are read in place: model must outlive the table.
CsvTable SeriesTable(const MotionModel &model, float printStep);
