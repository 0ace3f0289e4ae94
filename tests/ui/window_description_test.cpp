// The window's table as the browser page reads it: the description and the records JSON parsed as
// JSON (by Qt's reader, independent of the writers) and checked against each other and the form.

#include <ostream>
#include <set>
#include <string>
#include <vector>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <gtest/gtest.h>

#include "ui/events.h"
#include "ui/page_description.h"
#include "ui/records_changes.h"
#include "ui/records_json.h"
#include "ui/window_table.h"

namespace bitwatch {
namespace {

QJsonObject Parse(const std::string& json) {
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(QByteArray::fromStdString(json), &error);
    EXPECT_EQ(error.error, QJsonParseError::NoError) << error.errorString().toStdString();
    return document.object();
}

// Every control of the description, whatever its part: cells, labels, lines, buttons and boxes.
std::vector<QJsonObject> Elements(const QJsonObject& description) {
    std::vector<QJsonObject> elements;
    for (const char* part : {"cells", "labels", "lines", "controls"}) {
        for (const auto& element : description[part].toArray()) {
            elements.push_back(element.toObject());
        }
    }
    return elements;
}

TEST(PageDescription, NamesEveryElementOfEveryRowOnce) {
    const QJsonObject description = Parse(PageDescriptionJson());
    std::multiset<std::string> ids;
    for (const QJsonObject& element : Elements(description)) {
        ids.insert(element["id"].toString().toStdString());
    }
    std::size_t expected = 0;
    for (const window::Row& row : window::Rows()) {
        if (row.kind == window::Kind::Logo || row.kind == window::Kind::Timer) {
            continue;
        }
        for (int i = 0; i < row.count; ++i) {
            EXPECT_EQ(ids.count(window::ElementName(row, i)), 1U) << window::ElementName(row, i);
            ++expected;
        }
    }
    EXPECT_EQ(ids.size(), expected);
    EXPECT_EQ(description["timer"].toString(), "Timer1");
    EXPECT_EQ(description["background"].toInt(), static_cast<int>(ColourWindow));
}

// The page focuses the controls in the order of the description, and binds what it delivers.
TEST(PageDescription, ListsTheControlsInTabOrderWithTheirEvents) {
    const QJsonArray controls = Parse(PageDescriptionJson())["controls"].toArray();
    std::vector<std::string> order;
    for (const auto& value : controls) {
        const QJsonObject control = value.toObject();
        order.push_back(control["id"].toString().toStdString());
        for (const char* event : {"press", "change", "pick"}) {
            if (control.contains(event) && !control[event].isNull()) {
                EXPECT_LT(control[event].toInt(), kEventKinds) << order.back() << " " << event;
            }
        }
    }
    EXPECT_EQ(order, (std::vector<std::string>{"Command1", "Command3", "Command4", "cmbErrorRate",
                                               "Command2", "cmbMode"}));
    EXPECT_EQ(controls[0]["press"].toInt(), static_cast<int>(EventKind::PressOne));
    EXPECT_EQ(controls[5]["pick"].toInt(), static_cast<int>(EventKind::ModePicked));
    EXPECT_EQ(controls[3]["labelledBy"].toString(), "Label2_0");
}

// After each script, every element's record is in the records JSON where the description says,
// and a received cell says it differs exactly where its bit is not its twin's.
struct Script {
    const char* name;
    std::vector<Event> events;
};

void PrintTo(const Script& script, std::ostream* out) {
    *out << script.name;
}

class RecordsJsonAfter : public testing::TestWithParam<Script> {};

TEST_P(RecordsJsonAfter, HoldsEveryRecordAndEachCellsDifference) {
    Form form;
    Startup(form);
    for (const Event& event : GetParam().events) {
        RunEvent(form, event);
    }
    const QJsonObject records = Parse(RecordsJson(form));
    for (const QJsonObject& element : Elements(Parse(PageDescriptionJson()))) {
        const QJsonArray where = element["record"].toArray();
        const std::string id = element["id"].toString().toStdString();
        const QJsonValue record = where.isEmpty() ? records[element["id"].toString()]
                                  : where.size() == 1
                                      ? records[where[0].toString()]
                                      : records[where[0].toString()].toArray()[where[1].toInt()];
        EXPECT_FALSE(record.isUndefined()) << id;
    }
    const auto check = [&](const char* name, const auto& cells, int twinOffset) {
        const QJsonArray json = records[name].toArray();
        ASSERT_EQ(json.size(), static_cast<qsizetype>(cells.size())) << name;
        for (std::size_t i = 0; i < cells.size(); ++i) {
            const QJsonArray cell = json[static_cast<qsizetype>(i)].toArray();
            EXPECT_EQ(cell[0].toString().toStdString(), cells[i].text) << name << i;
            const bool received = static_cast<int>(i) >= twinOffset;
            const bool differs =
                received && cells[i].shown &&
                cells[i].text != cells[i - static_cast<std::size_t>(twinOffset)].text;
            if (cells[i].shown) {
                EXPECT_EQ(cell[3].toInt() == 1, differs) << name << " " << i;
            }
        }
    };
    check("row1", form.row1, kDataBits);
    check("parity", form.parity, kDataBits);
    check("sum1", form.sum1, kCheckBits);
    const QJsonArray sum2 = records["sum2"].toArray();
    for (int j = 0; j < kCheckBits; ++j) {
        if (form.sum2[j].shown) {
            EXPECT_EQ(sum2[j].toArray()[3].toInt() == 1, form.sum2[j].text != form.sum1[j].text)
                << "sum2 " << j;
        }
    }
    EXPECT_EQ(records["cmbMode"]["text"].toString().toStdString(), form.cmbMode.text());
    EXPECT_EQ(records["Timer1"]["interval"].toInt(), form.Timer1.interval());
}

// A front end that applies the changes after every event holds the records as they are, and is
// told nothing when nothing changed; also when a link swaps in a fresh form.
class RecordsChangesAfter : public testing::TestWithParam<Script> {};

void Apply(QJsonObject& told, const std::string& changes) {
    QJsonParseError error{};
    const QJsonDocument document =
        QJsonDocument::fromJson(QByteArray::fromStdString(changes), &error);
    ASSERT_EQ(error.error, QJsonParseError::NoError) << changes;
    for (const auto& change : document.array()) {
        const QJsonArray where = change[0].toArray();
        const QString name = where[0].toString();
        if (where.size() == 1) {
            told[name] = change[1];
        } else {
            QJsonArray elements = told[name].toArray();
            while (elements.size() <= where[1].toInt()) {
                elements.append(QJsonValue());
            }
            elements[where[1].toInt()] = change[1];
            told[name] = elements;
        }
    }
}

void ExpectToldAsRecords(const QJsonObject& told, const Form& form, const std::string& after) {
    const QJsonObject records = Parse(RecordsJson(form));
    std::vector<QString> names{"errorModel"};
    for (const window::Row& row : window::Rows()) {
        if (row.kind != window::Kind::Logo) {
            names.emplace_back(QString::fromUtf8(row.name.data(), row.name.size()));
        }
    }
    EXPECT_EQ(told.size(), static_cast<qsizetype>(names.size())) << after;
    for (const QString& name : names) {
        EXPECT_EQ(told[name], records[name]) << name.toStdString() << " after " << after;
    }
}

TEST_P(RecordsChangesAfter, BringWhatWasToldUpToDate) {
    Form form;
    Startup(form);
    RecordsChanges changes;
    QJsonObject told;
    Apply(told, changes.Since(form));
    ExpectToldAsRecords(told, form, "start");
    for (std::size_t i = 0; i < GetParam().events.size(); ++i) {
        RunEvent(form, GetParam().events[i]);
        Apply(told, changes.Since(form));
        ExpectToldAsRecords(told, form, "event " + std::to_string(i));
    }
    EXPECT_EQ(changes.Since(form), "[]");
    Form fresh;
    Startup(fresh);
    Apply(told, changes.Since(fresh));
    ExpectToldAsRecords(told, fresh, "a fresh form");
}

Event Mode(const char* text) {
    return {EventKind::ModeTextChanged, 0, text};
}

const auto kScripts = testing::Values(
    Script{"start", {}},
    Script{"clicks_in_crc8",
           {Mode("CRC-8"), {EventKind::ClickData, 50, {}}, {EventKind::ClickCheck, 3, {}}}},
    Script{"frames_in_parity_4",
           {Mode("Parity 4"),
            {EventKind::RateTextChanged, 0, "20"},
            {EventKind::PressOne, 0, {}},
            {EventKind::PressOne, 0, {}},
            {EventKind::ClickParity, 51, {}}}},
    Script{"wide_mode_text", {Mode("Prüfsumme \"8\" \\ 検査")}},
    Script{"fast_run_in_internet",
           {Mode("Internet"),
            {EventKind::RateTextChanged, 0, "5"},
            {EventKind::PressRun, 0, {}},
            {EventKind::PressRun, 0, {}},
            {EventKind::Tick, 0, {}},
            {EventKind::Tick, 0, {}}}});

std::string ScriptName(const testing::TestParamInfo<Script>& row) {
    return row.param.name;
}

INSTANTIATE_TEST_SUITE_P(Scripts, RecordsJsonAfter, kScripts, ScriptName);
INSTANTIATE_TEST_SUITE_P(Scripts, RecordsChangesAfter, kScripts, ScriptName);

} // namespace
} // namespace bitwatch
