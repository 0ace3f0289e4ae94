// The odds at a rate as a binomial mixture of the built-in shares: the same as the programme over
// the running sums and the weight distributions, at every rate the window offers and at the
// extremes, and as the committed figure data; the built-in shares are the programmes' own.

#include "stats/known_odds.h"

#include <cmath>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "channel/send_frame.h"
#include "stats/exact.h"
#include "stats/exact_models.h"

namespace bitwatch {

// The row's name in failure messages (defined beside the shares' tests).
void PrintTo(const ModeRow& row, std::ostream* out);

namespace stats {
namespace {

// The rate box's list, the corners asked for, and the demo's smallest step, 2^-24.
std::vector<double> Rates() {
    std::vector<double> rates;
    for (const char* text : {"0", "1", "2", "3", "4", "5", "0.001", "0.1", "10", "50", "99.9"}) {
        rates.push_back(EffectiveFlipProbability(FlipProbability(text)));
    }
    rates.push_back(std::ldexp(1.0, -24));
    return rates;
}

class KnownOdds : public testing::TestWithParam<ModeRow> {
  protected:
    CodeShape Shape() const { return {GetParam().codeMode, GetParam().groupSize}; }
};

TEST_P(KnownOdds, BuiltSharesAreTheProgrammesOwn) {
    const int n = SentBits(Shape());
    const std::span<const double> errors = KnownErrorShares(Shape());
    const std::span<const double> bursts = KnownBurstShares(Shape());
    EXPECT_EQ(std::vector<double>(errors.begin(), errors.end()), ErrorShares(Shape(), n));
    EXPECT_EQ(std::vector<double>(bursts.begin(), bursts.end()), BurstShares(Shape(), n));
}

TEST_P(KnownOdds, MixtureAgreesWithTheProgrammeAtEveryRate) {
    for (const double p : Rates()) {
        const double programme = UndetectedProbability(Shape(), p);
        const double mixture = UndetectedAtRate(Shape(), p);
        if (programme == 0) {
            EXPECT_EQ(mixture, 0) << "p = " << p;
        } else {
            EXPECT_NEAR(mixture / programme, 1, 1e-10) << "p = " << p;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Modes, KnownOdds, testing::ValuesIn(kModeTable),
                         [](const testing::TestParamInfo<ModeRow>& row) {
                             std::string name(row.param.text);
                             for (char& c : name) {
                                 c = std::isalnum(static_cast<unsigned char>(c)) != 0 ? c : '_';
                             }
                             return name;
                         });

// docs/undetected-exact.csv, as bitwatch-stats wrote it with ten significant digits.
TEST(KnownOddsFigures, AgreeWithTheCommittedFigureData) {
    std::ifstream csv(BITWATCH_DOCS_DIR "/undetected-exact.csv");
    ASSERT_TRUE(csv) << "no figure data";
    std::string line;
    std::getline(csv, line);
    int rows = 0;
    while (std::getline(csv, line)) {
        std::stringstream fields(line);
        std::string mode;
        std::string rate;
        std::string exact;
        std::getline(fields, mode, ',');
        std::getline(fields, rate, ',');
        std::getline(fields, exact, ',');
        const std::optional<CodeShape> shape = ShapeOfMode(mode);
        ASSERT_TRUE(shape.has_value()) << line;
        const double figure = std::stod(exact);
        const double p = EffectiveFlipProbability(FlipProbability(rate));
        EXPECT_NEAR(UndetectedAtRate(*shape, p), figure, 1e-9 * figure) << line;
        ++rows;
    }
    EXPECT_GT(rows, 400);
}

TEST(KnownOddsFigures, MixtureOfSharesAtTheEnds) {
    const std::vector<double> shares{0, 0.5, 0.25};
    EXPECT_EQ(BinomialMixture(shares, 0), 0);
    EXPECT_EQ(BinomialMixture(shares, 1), 0.25);
    EXPECT_DOUBLE_EQ(BinomialMixture(shares, 0.5), 2 * 0.25 * 0.5 + 0.25 * 0.25);
}

} // namespace
} // namespace stats
} // namespace bitwatch
