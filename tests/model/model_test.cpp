// Long random sequences of user actions against the invariants. Seeded and reproducible: set
// BITWATCH_MODEL_SEED and BITWATCH_MODEL_ACTIONS to explore further.

#include <chrono>
#include <cstdlib>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "actions.h"
#include "invariants.h"

namespace bitwatch::model {
namespace {

struct Failure {
    std::size_t step;
    std::string what;
};

// Plays the actions on a freshly started form and stops at the first broken invariant.
std::optional<Failure> Play(const std::vector<Event>& actions) {
    Form form;
    Startup(form);
    ModelState state;
    for (std::size_t step = 0; step < actions.size(); ++step) {
        std::string broken = RunAndCheck(form, actions[step], state);
        if (!broken.empty()) {
            return Failure{step, std::move(broken)};
        }
    }
    return std::nullopt;
}

// Removes actions while the sequence still fails, largest chunks first, within a time budget.
std::vector<Event> Shrink(std::vector<Event> actions) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    for (std::size_t chunk = actions.size() / 2; chunk >= 1; chunk /= 2) {
        for (std::size_t start = 0; start + chunk <= actions.size();) {
            if (std::chrono::steady_clock::now() > deadline) {
                return actions;
            }
            std::vector<Event> candidate(actions.begin(), actions.begin() + start);
            candidate.insert(candidate.end(), actions.begin() + start + chunk, actions.end());
            if (auto failure = Play(candidate)) {
                candidate.resize(failure->step + 1);
                actions = std::move(candidate);
            } else {
                start += chunk;
            }
        }
    }
    return actions;
}

std::uint64_t EnvNumber(const char* name, std::uint64_t fallback) {
    const char* value = std::getenv(name);
    if (value == nullptr || *value == '\0') {
        return fallback;
    }
    return std::strtoull(value, nullptr, 10);
}

void RunSeed(std::uint64_t seed, std::uint64_t count) {
    std::mt19937_64 random(seed);
    std::vector<Event> actions;
    actions.reserve(count);
    for (std::uint64_t i = 0; i < count; ++i) {
        actions.push_back(RandomEvent(random));
    }
    const std::optional<Failure> failure = Play(actions);
    if (!failure) {
        return;
    }
    actions.resize(failure->step + 1);
    const std::vector<Event> shortest = Shrink(actions);
    std::string replay;
    for (std::size_t i = 0; i < shortest.size(); ++i) {
        replay += "  " + std::to_string(i) + ": " + DescribeEvent(shortest[i]) + "\n";
    }
    const std::optional<Failure> shortFailure = Play(shortest);
    ADD_FAILURE() << "seed " << seed << ": step " << failure->step << " broke: " << failure->what
                  << "\nshortest failing prefix (" << shortest.size() << " actions), breaking "
                  << (shortFailure ? shortFailure->what : std::string("nothing?")) << ":\n"
                  << replay;
}

// Four seeds of a quarter each, so CTest can run them side by side.
class RandomEvents : public testing::TestWithParam<std::uint64_t> {};

TEST_P(RandomEvents, KeepEveryInvariant) {
    const std::uint64_t total = EnvNumber("BITWATCH_MODEL_ACTIONS", 1'000'000);
    const std::uint64_t seed = EnvNumber("BITWATCH_MODEL_SEED", 20261208) + GetParam();
    RunSeed(seed, (total + 3) / 4);
}

INSTANTIATE_TEST_SUITE_P(Seeds, RandomEvents, testing::Values(0U, 1U, 2U, 3U));

TEST(ModelChecker, CatchesAWrongVerdict) {
    // The checker itself must notice a fault, or a green run means nothing.
    Form form;
    Startup(form);
    ModelState state;
    Event click{EventKind::ClickData, 50, {}};
    const Before before = Snapshot(form, click);
    RunEvent(form, click);
    form.lblResult.text = "No Errors";
    EXPECT_NE(CheckInvariants(form, click, before, state), "");
}

// Each fault is checked after an event that runs no operation (a rate text typed again), so the
// checker has no other reason to complain.
TEST(ModelChecker, CatchesAWrongColourAndRate) {
    Form form;
    Startup(form);
    const Event run{EventKind::PressRun, 0, {}};
    ModelState state;
    const Before before = Snapshot(form, run);
    RunEvent(form, run);
    ASSERT_EQ(CheckInvariants(form, run, before, state), "");
    const Event idle{EventKind::RateTextChanged, 0, form.cmbErrorRate.text()};
    ASSERT_EQ(CheckInvariants(form, idle, Snapshot(form, idle), state), "");

    form.row1[60].foreColour =
        form.row1[60].foreColour == ColourMismatch ? ColourRxData : ColourMismatch;
    EXPECT_NE(CheckInvariants(form, idle, Snapshot(form, idle), state).find("colour"),
              std::string::npos);
    form.row1[60].foreColour =
        form.row1[60].foreColour == ColourMismatch ? ColourRxData : ColourMismatch;
    form.lblUER.text = "100";
    EXPECT_NE(CheckInvariants(form, idle, Snapshot(form, idle), state).find("lblUER"),
              std::string::npos);
}

TEST(ReferenceRate, MatchesTheWrittenForms) {
    EXPECT_EQ(ReferenceRateText(2, 300), "0.66");
    EXPECT_EQ(ReferenceRateText(1, 200), "0.5");
    EXPECT_EQ(ReferenceRateText(0, 5), " 0");
    EXPECT_EQ(ReferenceRateText(1, 3), " 33.33");
    EXPECT_EQ(ReferenceRateText(1, 1), " 100");
    EXPECT_EQ(ReferenceRateText(1, 8), " 12.5");
}

} // namespace
} // namespace bitwatch::model
