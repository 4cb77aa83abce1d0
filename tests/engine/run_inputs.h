// Run inputs that several engine tests go through: the varied paths and
// options compared with the step-by-step run, the sweep of awkward
// geometries, and the eight independent predictions.
#pragma once

#include "engine/prediction.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <string>
#include <vector>

namespace orvela_test {

struct NamedInput {
    orvela::RunInput In;
    std::string What; // for a failure's message
};

// Fifteen paths, each in the four display formats on the short and the long
// path, with antenna, minimum angle, power, flux, date and highlighted hour
// turning over from run to run: 120 runs.
std::vector<NamedInput> VariedInputs();

// Whole-degree remote points around a few awkward home stations (the poles,
// the equator at 0 and on the date line, and a mid-latitude station), with
// the coincident and antipodal points, the poles and the home meridian
// added. Display, path and minimum angle turn over from point to point so
// that each combination meets many geometries; the special points get every
// path and minimum angle.
std::vector<NamedInput> SweepInputs();

// The predictions of a separate implementation of the model, described in
// data/README.md; an empty array, with a failure reported, when the file
// cannot be read.
nlohmann::json LoadReferenceTables();
// The run input of one of them ("input"), read as the program reads typed
// values.
orvela::RunInput ReferenceInput(const nlohmann::json& input);

// The inputs of the eight predictions of a separate implementation of the
// model (data/tables.json), in the file's order; empty, with a failure
// reported, when the file cannot be read.
std::vector<NamedInput> ReferenceInputs();

// The first cell of column `col` that differs between the two tables.
::testing::AssertionResult SameColumn(const orvela::Prediction& expected, const orvela::Prediction& actual, int col);

// Hour `hour` alone, in a fresh workspace and a fresh table, is that hour's
// column of `full`, the full run of `in`, and the other columns stay empty.
::testing::AssertionResult HourIsTheRunsColumn(const orvela::RunInput& in, const orvela::Prediction& full, int hour);

} // namespace orvela_test
