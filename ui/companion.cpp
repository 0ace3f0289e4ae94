#include "ui/companion.h"

#include <cstdio>

#include "channel/send_frame.h"
#include "core/explain.h"
#include "stats/exact.h"
#include "stats/intervals.h"
#include "stats/known_odds.h"
#include "ui/verdict_fact.h"

namespace bitwatch {

namespace {

std::string Escaped(std::string_view text) {
    std::string escaped;
    for (const char c : text) {
        switch (c) {
        case '<':
            escaped += "&lt;";
            break;
        case '>':
            escaped += "&gt;";
            break;
        case '&':
            escaped += "&amp;";
            break;
        case '"':
            escaped += "&quot;";
            break;
        default:
            escaped += c;
        }
    }
    return escaped;
}

std::string Number(const char* format, double value) {
    char text[48];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

std::string Hex(int byte) {
    constexpr std::string_view kDigits = "0123456789ABCDEF";
    return {kDigits[static_cast<std::size_t>(byte >> 4) & 15U],
            kDigits[static_cast<std::size_t>(byte) & 15U]};
}

std::string Percent(double fraction) {
    return Number("%.4g", 100 * fraction) + " %";
}

std::string Cell(const std::string& text, const char* tag = "td") {
    return std::string("<") + tag + ">" + text + "</" + tag + ">";
}

std::string HeaderRow(std::initializer_list<const char*> names) {
    std::string row = "<tr>";
    for (const char* name : names) {
        row += std::string("<th scope=\"col\">") + name + "</th>";
    }
    return row + "</tr>";
}

// A damaged cell as the table of damaged bits names it.
std::string DamagedCellText(const FrameError& error) {
    switch (error.cell) {
    case FrameError::Cell::Data:
        return "data bit " + std::to_string(error.index % 8) + " of byte " +
               std::to_string(error.index / 8);
    case FrameError::Cell::Parity:
        return "parity bit after data bit " + std::to_string(error.index);
    case FrameError::Cell::Check:
        return "check bit " + std::to_string(error.index);
    }
    return {};
}

std::string ErrorSection(const Explanation& e) {
    std::string html = "<h3>The damage</h3>";
    if (e.errors.empty()) {
        return html + "<p>No received bit differs from the one sent.</p>";
    }
    html += "<p>" + std::to_string(e.errors.size()) + " of the " + std::to_string(e.frameLength) +
            " bits sent " + (e.errors.size() == 1 ? "differs" : "differ");
    html += e.errors.size() == 1 ? "" : ", spanning " + std::to_string(e.span) + " bits";
    html += " in the order the frame is sent.</p><table><caption>Damaged bits</caption>" +
            HeaderRow({"Place sent", "Cell"});
    for (const FrameError& error : e.errors) {
        html += "<tr>" + Cell(std::to_string(error.place)) + Cell(DamagedCellText(error)) + "</tr>";
    }
    return html + "</table>";
}

std::string ParitySection(const Form& form, const Explanation& e, const ParityWorking& working) {
    std::string html =
        "<h3>Parity groups of " + std::to_string(e.groupSize) +
        "</h3><table><caption>Each group's received data and parity bit</caption>" +
        HeaderRow({"Group", "Data bits", "Received", "Ones", "Parity bit", "Flips", "Check"});
    for (std::size_t g = 0; g < working.groups.size(); ++g) {
        const GroupWorking& group = working.groups[g];
        std::string bits;
        for (int k = group.first; k <= group.last; ++k) {
            bits += CellIsOne(form.row1[kDataBits + k]) ? '1' : '0';
        }
        html += "<tr>" + Cell(std::to_string(g + 1), "th") +
                Cell(std::to_string(group.first) + " to " + std::to_string(group.last)) +
                Cell("<code>" + bits + "</code>") + Cell(std::to_string(group.ones)) +
                Cell(group.parityBit ? "1" : "0") + Cell(std::to_string(group.flips)) +
                Cell(group.caught ? "caught: odd" : "even") + "</tr>";
    }
    return html + "</table><p>Damage slips through when every damaged group holds an even " +
           "number of flips, counting its parity bit.</p>";
}

std::string ColumnSection(const Explanation& e, const ColumnWorking& columns) {
    std::string html = "<h3>Running column parity</h3><table><caption>Columns of the six "
                       "received bytes</caption>" +
                       HeaderRow({"Column", "0", "1", "2", "3", "4", "5", "6", "7"});
    const auto row = [&](const char* name, auto value) {
        std::string line = "<tr>" + Cell(name, "th");
        for (std::size_t c = 0; c < 8; ++c) {
            line += Cell(value(c));
        }
        return line + "</tr>";
    };
    html += row("Ones", [&](std::size_t c) { return std::to_string(columns.ones[c]); });
    html += row("Column parity",
                [&](std::size_t c) { return std::string(columns.columnParity[c] ? "1" : "0"); });
    html += row("Running parity (recomputed check)",
                [&](std::size_t c) { return std::string(columns.running[c] ? "1" : "0"); });
    html += row("Received check",
                [&](std::size_t c) { return BitsText(e.receivedCheck >> (7 - c), 1); });
    return html + "</table><p>Check bit c is the parity of columns 0 to c together. Recomputed " +
           "<code>" + BitsText(e.recomputedCheck, 8) + "</code>, received <code>" +
           BitsText(e.receivedCheck, 8) + "</code>.</p>";
}

std::string SumSection(const Explanation& e, const SumWorking& sums) {
    const bool internet = sums.onesComplement;
    std::string html = std::string("<h3>") +
                       (internet ? "One's-complement sum" : "Sum modulo 256") +
                       "</h3><table><caption>The six received bytes</caption>" +
                       HeaderRow({"Byte", "Binary", "Hex", "Decimal", "Change"});
    for (std::size_t b = 0; b < sums.received.size(); ++b) {
        const int value = sums.received[b];
        const int change = sums.changes[b];
        html += "<tr>" + Cell(std::to_string(b), "th") +
                Cell("<code>" + BitsText(static_cast<std::uint64_t>(value), 8) + "</code>") +
                Cell(Hex(value)) + Cell(std::to_string(value)) +
                Cell(change == 0 ? "" : (change > 0 ? "+" : "") + std::to_string(change)) + "</tr>";
    }
    html += "</table><p>Total " + std::to_string(sums.total);
    if (internet) {
        for (const int fold : sums.folds) {
            html += ", folded (end-around carry) " + std::to_string(fold);
        }
        html += "; complement 255 - " + std::to_string(sums.sum) + " = " +
                std::to_string(255 - sums.sum);
    } else {
        html += ", modulo 256: " + std::to_string(sums.sum);
    }
    return html + ".</p><p>Recomputed check byte <code>" + BitsText(e.recomputedCheck, 8) +
           "</code> (" + std::to_string(e.recomputedCheck) + "), received <code>" +
           BitsText(e.receivedCheck, 8) + "</code> (" + std::to_string(e.receivedCheck) + ").</p>";
}

std::string CrcSection(const Explanation& e, const CrcWorking& crc) {
    std::string rows;
    for (const std::string& row : DivisionRows(crc)) {
        rows += row + "\n";
    }
    std::string html =
        "<h3>Long division by 100000111 (x^8 + x^2 + x + 1)</h3>"
        "<p>The 48 received data bits, then the check byte, divided row by row: under each "
        "leading 1 the generator, and below it what remains with the next bits brought down.</p>"
        "<pre class=\"division\">" +
        rows + "</pre><p>Remainder <code>" + BitsText(crc.remainder, 8) +
        "</code>: " + (crc.remainder == 0 ? "zero, so the check agrees." : "not zero.") + "</p>";
    if (e.dataDiffers && e.checkAgrees) {
        html += "<p>E(x) = " + PolynomialText(crc.errorPattern) +
                "<br>Q(x) = " + PolynomialText(crc.quotient) +
                "<br>E(x) = (x^8 + x^2 + x + 1) Q(x)</p>";
    }
    return html;
}

// The channel the frames go through, in a phrase: "at a bit error rate of 1 %", "through
// exactly 2 of the 56 bits sent".
std::string ChannelPhrase(const Form& form) {
    const int n = SentLength(form);
    const int size = SizeInFrame(form.errorModel, n);
    switch (form.errorModel.kind) {
    case ErrorModelKind::ExactBits:
        return "With exactly " + std::to_string(size) + " of the " + std::to_string(n) +
               " bits sent flipped, every set of " + std::to_string(size) + " equally likely";
    case ErrorModelKind::Burst:
        return "With one burst of " + std::to_string(size) + " of the " + std::to_string(n) +
               " bits sent, starting anywhere in the frame with its first and last bit flipped "
               "and each between them with odds 1/2";
    case ErrorModelKind::RandomBits:
        break;
    }
    const double rate = static_cast<double>(FlipProbability(form.cmbErrorRate.text()));
    return "At a bit error rate of " + Number("%.6g", 100 * rate) +
           " % (the rate box as the channel reads it)";
}

std::string OddsSection(const Form& form) {
    const double exact = ExactUndetectedProbability(form);
    const bool random = form.errorModel.kind == ErrorModelKind::RandomBits;
    std::string html = "<h3>Expected beside measured</h3><p>" + ChannelPhrase(form) +
                       ", the exact probability of \"Undetected Errors\" is " +
                       Number("%.4g", exact) + " per frame (" + Percent(exact) + ").</p>";
    if (!random) {
        html += "<p>The rate box is not used while this error model is chosen.</p>";
    }
    if (exact == 0) {
        html += std::string("<p>A search with \"Find UE\" cannot end here: this code lets no "
                            "error through ") +
                (random ? "at this rate" : "of this kind") + ".</p>";
    }
    if (form.frameCount == 0) {
        return html + "<p>The window has counted no frame since the last reset.</p>";
    }
    // A search that stopped itself stopped on its undetected frame: its interval is the one
    // for that stopping rule, as in bitwatch-stats.
    const bool searched =
        form.stopOnUndetected != kFalse && !form.Timer1.enabled() && form.undetectedCount > 0;
    const stats::Interval interval =
        searched ? stats::InverseBinomialInterval(form.undetectedCount, form.frameCount)
                 : stats::WilsonInterval(form.undetectedCount, form.frameCount);
    return html + "<p>Measured in the window: " + std::to_string(form.undetectedCount) + " of " +
           std::to_string(form.frameCount) + " frames (" +
           Percent(static_cast<double>(form.undetectedCount) /
                   static_cast<double>(form.frameCount)) +
           "), 95 % interval " + Percent(interval.low) + " to " + Percent(interval.high) +
           (exact < interval.low || exact > interval.high ? ": the exact value lies outside it."
                                                          : ".") +
           "</p>";
}

} // namespace

double ExactUndetectedProbability(const Form& form) {
    const stats::CodeShape shape{form.codeMode, form.groupSize};
    const float rate = FlipProbability(form.cmbErrorRate.text());
    return stats::UndetectedThroughChannel(shape, form.errorModel,
                                           stats::EffectiveFlipProbability(rate));
}

bool CompanionFollows(const Form& form) {
    return !form.Timer1.enabled() || form.Timer1.interval() != kFastInterval;
}

std::string CompanionHtml(const Form& form) {
    const Explanation e = Explain(form);
    std::string html =
        "<h3>Verdict: " + std::string(e.verdict) + "</h3><p>" + Escaped(e.reason) + "</p>";
    if (const ChosenFact fact = ChooseFact(form, e, ExactUndetectedProbability(form));
        fact.fact != VerdictFact::None) {
        html += "<p>" + FactText(fact) + "</p>";
    }
    if (e.verdict != form.lblResult.text) {
        html += "<p>The window still shows the last verdict, \"" + Escaped(form.lblResult.text) +
                "\": a reset leaves it, and the frame as it stands would now give \"" +
                std::string(e.verdict) + "\".</p>";
    }
    html += ErrorSection(e);
    html += std::visit(
        Overloaded{
            [](const NoCheckWorking&) {
                return std::string("<h3>No check</h3><p>Mode None sends no check bits, so the "
                                   "receiver cannot tell a damaged frame from an intact one.</p>");
            },
            [&](const ParityWorking& working) { return ParitySection(form, e, working); },
            [&](const ColumnWorking& working) { return ColumnSection(e, working); },
            [&](const SumWorking& working) { return SumSection(e, working); },
            [&](const CrcWorking& working) { return CrcSection(e, working); },
        },
        e.working);
    return html + OddsSection(form);
}

} // namespace bitwatch
