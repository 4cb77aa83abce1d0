// Complete predictions computed by a separate implementation of the model:
// every text of the table, the header strips and the status bar must match.
// Their format is described in data/README.md.
#include "engine/prediction.h"
#include "tests/engine/run_inputs.h"
#include "tests/support/test_paths.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <string>

namespace {

using namespace orvela;
using nlohmann::json;

// Compares one text: the expected one, or any alternative listed for it.
class Checker {
public:
    explicit Checker(const json& alternatives)
        : alternatives_(alternatives)
    {
    }

    void Text(const std::string& key, const std::string& actual, const json& expected)
    {
        if (expected.is_null()) {
            return;
        }
        ++compared_;
        if (actual == expected.get<std::string>()) {
            return;
        }
        if (alternatives_.contains(key)) {
            for (const json& alt : alternatives_.at(key)) {
                if (actual == alt.get<std::string>()) {
                    return;
                }
            }
        }
        ADD_FAILURE() << key << ": got \"" << actual << "\", expected \"" << expected.get<std::string>() << "\"";
    }

    int Compared() const { return compared_; }

private:
    const json& alternatives_;
    int compared_ = 0;
};

TEST(ReferenceTables, EveryTextMatches)
{
    const json tables = orvela_test::LoadReferenceTables();
    ASSERT_EQ(tables.size(), 8u);
    for (const json& c : tables) {
        SCOPED_TRACE(c.at("name").get<std::string>());
        const RunInput in = orvela_test::ReferenceInput(c.at("input"));
        const Prediction p = orvela_test::Predict(in);

        const json& expected = c.at("expected");
        Checker check(expected.at("alternatives"));
        const json& grid = expected.at("grid");
        ASSERT_EQ(grid.size(), static_cast<std::size_t>(TableRows));
        for (int row = 0; row < TableRows; ++row) {
            ASSERT_EQ(grid[row].size(), static_cast<std::size_t>(TableCols));
            for (int col = 0; col < TableCols; ++col) {
                check.Text("grid:" + std::to_string(row) + ":" + std::to_string(col), p.At(col, row).Text,
                           grid[row][col]);
            }
        }
        for (std::size_t i = 0; i < p.H1.size(); ++i) {
            check.Text("h1:" + std::to_string(i), p.H1[i], expected.at("h1").at(i));
        }
        for (std::size_t i = 0; i < p.H2.size(); ++i) {
            check.Text("h2:" + std::to_string(i), p.H2[i], expected.at("h2").at(i));
        }
        const json& status = expected.at("status");
        check.Text("status:display", p.DisplayText, status.at("display"));
        check.Text("status:antenna", p.AntennaText, status.at("antenna"));
        check.Text("status:power", p.PowerText, status.at("power"));
        EXPECT_EQ(check.Compared(), TableRows * TableCols + 4 + 3 + 3);
    }
}

} // namespace
