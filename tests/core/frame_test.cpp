#include "core/frame.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/test_support.h"

namespace bitwatch {
namespace {

using test::StartIn;

std::vector<int> ShownParityCells(const Form& form) {
    std::vector<int> shown;
    for (int i = 0; i < kCellsPerArray; ++i) {
        if (form.parity[i].shown) {
            shown.push_back(i);
        }
    }
    return shown;
}

int ShownCheckCells(const Form& form) {
    int shown = 0;
    for (int j = 0; j < kCheckBits; ++j) {
        shown += (form.sum1[j].shown ? 1 : 0) + (form.sum2[j].shown ? 1 : 0);
    }
    return shown;
}

void ExpectResetCondition(const Form& form, const std::string& checkFill, const std::string& why) {
    for (int i = 0; i < kCellsPerArray; ++i) {
        const bool transmitted = i < kDataBits;
        EXPECT_EQ(form.row1[i].text, "0") << why << " row1 " << i;
        EXPECT_EQ(form.parity[i].text, "0") << why << " parity " << i;
        EXPECT_EQ(form.row1[i].foreColour, transmitted ? ColourTxData : ColourRxData) << why;
        EXPECT_EQ(form.parity[i].foreColour, transmitted ? ColourTxCheck : ColourRxCheck) << why;
    }
    for (int j = 0; j < kCheckBits; ++j) {
        EXPECT_EQ(form.sum1[j].text, checkFill) << why << " sum1 " << j;
        EXPECT_EQ(form.sum2[j].text, checkFill) << why << " sum2 " << j;
        EXPECT_EQ(form.sum1[j].foreColour, ColourTxCheck) << why;
        EXPECT_EQ(form.sum2[j].foreColour, ColourRxCheck) << why;
    }
    EXPECT_EQ(form.frameCount, 0) << why;
    EXPECT_EQ(form.undetectedCount, 0) << why;
    EXPECT_EQ(form.lblUER.text, "0.00") << why;
    EXPECT_EQ(form.Command4.caption, "Start") << why;
    EXPECT_FALSE(form.Timer1.enabled()) << why;
    EXPECT_EQ(form.Timer1.interval(), 10000) << why;
    EXPECT_EQ(form.stopOnUndetected, 0) << why;
}

// Leaves the form mid-run with a damaged frame, so that a reset has something to undo.
void Disturb(Form& form) {
    for (int i = 0; i < kCellsPerArray; i += 3) {
        form.row1[i].text = "1";
        form.row1[i].foreColour = ColourMismatch;
        form.parity[i].text = "1";
    }
    form.sum2[4].text = form.sum2[4].text == "1" ? "0" : "1";
    form.sum2[4].foreColour = ColourMismatch;
    form.frameCount = 40;
    form.undetectedCount = 2;
    form.lblUER.text = " 5";
    form.Command4.caption = "Stop";
    form.Timer1.SetInterval(10);
    form.Timer1.SetEnabled(true);
    form.stopOnUndetected = kTrue;
}

TEST(Startup, FillsBothListsAndEndsInModeNone) {
    Form form;
    Startup(form);
    EXPECT_EQ(form.cmbErrorRate.entries(),
              (std::vector<std::string>{"0", "1", "2", "3", "4", "5"}));
    EXPECT_EQ(form.cmbErrorRate.text(), "1");
    EXPECT_EQ(form.cmbMode.entries(),
              (std::vector<std::string>{"Parity 48", "Parity 6V", "Parity 6", "Parity 2",
                                        "Parity 1", "Checksum", "Internet", "CRC-8"}));
    EXPECT_EQ(form.cmbMode.text(), "None");
    EXPECT_EQ(form.codeMode, ModeNone);
    EXPECT_EQ(form.groupSize, 1000);
    EXPECT_TRUE(ShownParityCells(form).empty());
    EXPECT_EQ(ShownCheckCells(form), 0);
    EXPECT_TRUE(form.Line1[0].shown);
    EXPECT_TRUE(form.Line1[1].shown);
    EXPECT_EQ(form.lblResult.text, "No Errors");
    ExpectResetCondition(form, "0", "start-up");
}

TEST(Startup, CreatedFormShowsEveryCellBeforeStartup) {
    Form form;
    EXPECT_EQ(form.groupSize, 0);
    EXPECT_EQ(form.lblUER.text, "0.0");
    EXPECT_EQ(ShownParityCells(form).size(), 96U);
    EXPECT_EQ(ShownCheckCells(form), 16);
}

TEST(ApplyMode, ShowsTheCellsAndLinesOfEachMode) {
    struct Row {
        const char* modeText;
        std::vector<int> shownParity;
        int shownCheckCells;
        bool linesShown;
    };
    std::vector<int> all(96);
    for (int i = 0; i < 96; ++i) {
        all[static_cast<std::size_t>(i)] = i;
    }
    const std::vector<Row> rows = {
        {"None", {}, 0, true},
        {"Parity 48", {47, 95}, 0, false},
        {"Parity 16", {15, 31, 47, 63, 79, 95}, 0, false},
        {"Parity 8", {7, 15, 23, 31, 39, 47, 55, 63, 71, 79, 87, 95}, 0, false},
        {"Parity 1", all, 0, false},
        {"Parity 6V", {}, 16, true},
        {"Checksum", {}, 16, true},
        {"Internet", {}, 16, true},
        {"CRC-8", {}, 16, true},
    };
    for (const Row& row : rows) {
        Form form;
        StartIn(form, row.modeText);
        EXPECT_EQ(ShownParityCells(form), row.shownParity) << row.modeText;
        EXPECT_EQ(ShownCheckCells(form), row.shownCheckCells) << row.modeText;
        EXPECT_EQ(form.Line1[0].shown, row.linesShown) << row.modeText;
        EXPECT_EQ(form.Line1[1].shown, row.linesShown) << row.modeText;
    }
    Form form;
    StartIn(form, "Parity 2");
    EXPECT_EQ(ShownParityCells(form).size(), 48U);
    StartIn(form, "Parity 4");
    EXPECT_EQ(ShownParityCells(form).size(), 24U);
    StartIn(form, "Parity 6");
    EXPECT_EQ(ShownParityCells(form).size(), 16U);
}

TEST(ApplyMode, EveryNameSelectsItsRow) {
    for (const ModeRow& row : kModeTable) {
        Form form;
        StartIn(form, std::string(row.text));
        EXPECT_EQ(form.codeMode, row.codeMode) << row.text;
        EXPECT_EQ(form.groupSize, row.groupSize) << row.text;
    }
}

TEST(ApplyMode, TypingKeyByKeyPassesThroughShorterNames) {
    struct Typed {
        const char* name;
        std::vector<std::pair<std::string, std::int16_t>> groupSizeAfterPrefix;
    };
    const std::vector<Typed> cases = {
        {"Parity 48", {{"Parity 4", 4}, {"Parity 48", 48}}},
        {"Parity 16", {{"Parity 1", 1}, {"Parity 16", 16}}},
        {"Parity 6V", {{"Parity 6", 6}, {"Parity 6V", kNoGroups}}},
    };
    for (const Typed& typed : cases) {
        Form form;
        StartIn(form, "CRC-8");
        const std::string name = typed.name;
        for (std::size_t length = 1; length <= name.size(); ++length) {
            Disturb(form);
            const std::string prefix = name.substr(0, length);
            form.cmbMode.SetText(prefix);
            for (const auto& [expectedPrefix, groupSize] : typed.groupSizeAfterPrefix) {
                if (prefix == expectedPrefix) {
                    EXPECT_EQ(form.groupSize, groupSize) << prefix;
                }
            }
            // Every keystroke resets, whether or not it names a mode.
            ExpectResetCondition(form, "0", "typing " + prefix);
        }
    }
}

TEST(ApplyMode, NamesThatAreNotExactKeepTheModeButStillReset) {
    for (const char* text :
         {"parity 2", "PARITY 2", "None ", " None", "CRC8", "", "Parity", "Internet\n"}) {
        Form form;
        StartIn(form, "Internet");
        Disturb(form);
        form.cmbMode.SetText(text);
        EXPECT_EQ(form.codeMode, ModeInternet) << '"' << text << '"';
        EXPECT_EQ(form.groupSize, kNoGroups) << '"' << text << '"';
        EXPECT_EQ(ShownCheckCells(form), 16);
        ExpectResetCondition(form, "1", std::string("unrecognised \"") + text + '"');
    }
}

TEST(ApplyMode, NamesOutsideTheListAreSelectedByTyping) {
    for (const char* text : {"None", "Parity 4", "Parity 8", "Parity 16"}) {
        Form form;
        StartIn(form, "Checksum");
        form.cmbMode.SetText(text);
        EXPECT_EQ(form.cmbMode.text(), text);
        EXPECT_EQ(form.codeMode, std::string(text) == "None" ? ModeNone : ModeParity) << text;
    }
}

TEST(ApplyMode, SameNameAgainStillResetsAndStopsARun) {
    Form form;
    StartIn(form, "Parity 6");
    Disturb(form);
    form.cmbMode.SetText("Parity 6");
    ExpectResetCondition(form, "0", "same mode again");
}

TEST(ResetAll, FillsCheckCellsByMode) {
    const std::vector<std::pair<const char*, const char*>> fills = {
        {"Internet", "1"}, {"Parity 6V", "0"}, {"Checksum", "0"},
        {"CRC-8", "0"},    {"None", "0"},      {"Parity 2", "0"},
    };
    for (const auto& [modeText, fill] : fills) {
        Form form;
        StartIn(form, modeText);
        Disturb(form);
        ResetAll(form);
        ExpectResetCondition(form, fill, modeText);
    }
}

TEST(ResetAll, KeepsTheVerdictModeAndComboTexts) {
    Form form;
    StartIn(form, "Parity 16");
    form.cmbErrorRate.SetText("3.5");
    form.lblResult.text = "Errors Detected";
    Disturb(form);
    ResetAll(form);
    EXPECT_EQ(form.lblResult.text, "Errors Detected");
    EXPECT_EQ(form.cmbMode.text(), "Parity 16");
    EXPECT_EQ(form.cmbErrorRate.text(), "3.5");
    EXPECT_EQ(form.groupSize, 16);
    EXPECT_EQ(ShownParityCells(form), (std::vector<int>{15, 31, 47, 63, 79, 95}));
}

TEST(ResetAll, StopsASearch) {
    Form form;
    StartIn(form, "CRC-8");
    Disturb(form);
    ResetAll(form);
    EXPECT_EQ(form.Command4.caption, "Start");
    EXPECT_EQ(form.stopOnUndetected, kFalse);
    EXPECT_FALSE(form.Timer1.enabled());
}

TEST(ErrorRate, ChangingItAloneChangesNothing) {
    Form form;
    StartIn(form, "Checksum");
    Disturb(form);
    form.cmbErrorRate.SetText("5");
    EXPECT_EQ(form.frameCount, 40);
    EXPECT_EQ(form.Command4.caption, "Stop");
    EXPECT_TRUE(form.Timer1.enabled());
    EXPECT_EQ(form.row1[0].text, "1");
}

} // namespace
} // namespace bitwatch
