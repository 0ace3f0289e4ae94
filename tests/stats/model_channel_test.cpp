#include "stats/model_channel.h"

#include <atomic>
#include <cctype>
#include <cmath>
#include <ostream>
#include <string>

#include <gtest/gtest.h>

#include "channel/send_frame.h"
#include "stats/exact_models.h"

namespace bitwatch::stats {
namespace {

struct ModelCase {
    std::string_view mode;
    ErrorModel model;
};

void PrintTo(const ModelCase& c, std::ostream* out) {
    *out << c.mode << " " << static_cast<int>(c.model.kind) << "/" << c.model.size;
}

std::string CaseName(const ::testing::TestParamInfo<ModelCase>& row) {
    std::string name = row.param.model.kind == ErrorModelKind::Burst ? "burst" : "bits";
    name += std::to_string(row.param.model.size) + "_";
    for (const char c : row.param.mode) {
        name += std::isalnum(static_cast<unsigned char>(c)) != 0 ? c : '_';
    }
    return name;
}

class ModelRow : public ::testing::TestWithParam<ModelCase> {};

// An unseeded row is the companion's run from launch: frame for frame the same verdict from
// the same draws as the window's channel.
TEST_P(ModelRow, SendsTheWindowsFrames) {
    Form form;
    Startup(form);
    form.cmbMode.SetText(std::string(GetParam().mode));
    form.errorModel = GetParam().model;
    const ModelChannel channel(*ShapeOfMode(GetParam().mode), GetParam().model);
    RandomSource random;
    form.random = RandomSource();
    for (int frame = 0; frame < 3000; ++frame) {
        SendFrame(form);
        const bool missed = channel.SendFrame(random);
        ASSERT_EQ(missed, form.lblResult.text == kVerdictUndetected) << "frame " << frame;
        ASSERT_EQ(random.drawCount(), form.random.drawCount()) << "frame " << frame;
    }
}

// Over a million frames the measured share lies within its interval around the exact one.
TEST_P(ModelRow, MeasuresTheExactShare) {
    const CodeShape shape = *ShapeOfMode(GetParam().mode);
    std::atomic<std::int64_t> done{0};
    const RowResult result = RunModelRow({shape, GetParam().model, 1'000'000, {}, 11}, done);
    EXPECT_EQ(done.load(), 1'000'000);
    const double exact = UndetectedThroughModel(shape, GetParam().model, 0);
    // Within 3.3 standard deviations (99.9 %) rather than 95 %: ten rows must all pass.
    const double frames = static_cast<double>(result.frames);
    const double deviation = std::sqrt(frames * exact * (1 - exact));
    EXPECT_NEAR(static_cast<double>(result.undetected), frames * exact, 3.3 * deviation + 0.5)
        << "exact " << exact;
}

INSTANTIATE_TEST_SUITE_P(Sample, ModelRow,
                         ::testing::Values(ModelCase{"Checksum", {ErrorModelKind::ExactBits, 2}},
                                           ModelCase{"Internet", {ErrorModelKind::ExactBits, 4}},
                                           ModelCase{"Parity 8", {ErrorModelKind::ExactBits, 2}},
                                           ModelCase{"Parity 1", {ErrorModelKind::ExactBits, 60}},
                                           ModelCase{"CRC-8", {ErrorModelKind::ExactBits, 4}},
                                           ModelCase{"Parity 6V", {ErrorModelKind::Burst, 9}},
                                           ModelCase{"Internet", {ErrorModelKind::Burst, 8}},
                                           ModelCase{"Parity 2", {ErrorModelKind::Burst, 3}},
                                           ModelCase{"None", {ErrorModelKind::Burst, 96}},
                                           ModelCase{"CRC-8", {ErrorModelKind::Burst, 20}}),
                         CaseName);

} // namespace
} // namespace bitwatch::stats
