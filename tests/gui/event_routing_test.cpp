// The window must route every event of its controls to the same operation as RunEvent, and then
// show exactly what the records hold. Each step acts on real widgets and runs the events that
// the step should deliver on a second form; after every step the two forms must agree.

#include <memory>
#include <string>
#include <vector>

#include <QAbstractItemView>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include "tests/gui/window_fixture.h"
#include "ui/widgets/colour.h"
#include "ui/widgets/main_window.h"

namespace bitwatch {
namespace {

template <std::size_t N>
void ExpectSameCells(const std::array<TextLabel, N>& window, const std::array<TextLabel, N>& twin,
                     const char* name, const std::string& step) {
    for (std::size_t i = 0; i < N; ++i) {
        EXPECT_EQ(window[i].text, twin[i].text) << step << ": " << name << " " << i;
        EXPECT_EQ(window[i].foreColour, twin[i].foreColour) << step << ": " << name << " " << i;
        EXPECT_EQ(window[i].shown, twin[i].shown) << step << ": " << name << " " << i;
    }
}

void ExpectSameRecords(const Form& window, const Form& twin, const std::string& step) {
    ExpectSameCells(window.row1, twin.row1, "row1", step);
    ExpectSameCells(window.parity, twin.parity, "parity", step);
    ExpectSameCells(window.sum1, twin.sum1, "sum1", step);
    ExpectSameCells(window.sum2, twin.sum2, "sum2", step);
    EXPECT_EQ(window.lblResult.text, twin.lblResult.text) << step;
    EXPECT_EQ(window.lblUER.text, twin.lblUER.text) << step;
    EXPECT_EQ(window.Command4.caption, twin.Command4.caption) << step;
    EXPECT_EQ(window.cmbMode.text(), twin.cmbMode.text()) << step;
    EXPECT_EQ(window.cmbErrorRate.text(), twin.cmbErrorRate.text()) << step;
    EXPECT_EQ(window.Timer1.enabled(), twin.Timer1.enabled()) << step;
    EXPECT_EQ(window.Timer1.interval(), twin.Timer1.interval()) << step;
    EXPECT_EQ(window.frameCount, twin.frameCount) << step;
    EXPECT_EQ(window.undetectedCount, twin.undetectedCount) << step;
    EXPECT_EQ(window.codeMode, twin.codeMode) << step;
    EXPECT_EQ(window.groupSize, twin.groupSize) << step;
    EXPECT_EQ(window.stopOnUndetected, twin.stopOnUndetected) << step;
    EXPECT_EQ(window.random.drawCount(), twin.random.drawCount()) << step;
}

class EventRoutingTest : public test::WindowTest {
  protected:
    void SetUp() override {
        WindowTest::SetUp();
        Startup(twin);
    }

    // The same events on the twin, then both forms and the widgets compared.
    void Expect(const std::vector<Event>& events, const std::string& step) {
        for (const Event& event : events) {
            RunEvent(twin, event);
        }
        ExpectSameRecords(window->form(), twin, step);
        ExpectWidgetsShow(window->form(), step);
    }

    // Clears the box and types the text key by key: one text change per key.
    void Type(const char* box, const std::string& text, EventKind kind) {
        QLineEdit* edit = Find<QComboBox>(QString::fromLatin1(box))->lineEdit();
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Backspace);
        QTest::keyClicks(edit, QString::fromStdString(text));
        std::vector<Event> events;
        for (std::size_t length = 0; length <= text.size(); ++length) {
            events.push_back({kind, 0, text.substr(0, length)});
        }
        Expect(events, std::string("typing ") + text + " into " + box);
    }

    void Press(const char* button, EventKind kind) {
        QTest::mouseClick(Find<QPushButton>(QString::fromLatin1(button)), Qt::LeftButton);
        Expect({{kind, 0, {}}}, std::string("pressing ") + button);
    }

    // What every widget shows against what its record holds.
    void ExpectWidgetsShow(const Form& form, const std::string& step) {
        for (int i = 0; i < kCellsPerArray; ++i) {
            for (const auto& [name, record] :
                 {std::pair{QStringLiteral("row1_%1"), &form.row1[i]},
                  std::pair{QStringLiteral("parity_%1"), &form.parity[i]}}) {
                const test::CellLook cell = test::LookOf(window.get(), name.arg(i));
                EXPECT_EQ(cell.text.toStdString(), record->text) << step << " " << i;
                EXPECT_EQ(cell.colour, ToQColor(record->foreColour)) << step << " " << i;
                EXPECT_EQ(cell.visible, record->shown) << step << " " << i;
            }
        }
        for (int j = 0; j < kCheckBits; ++j) {
            EXPECT_EQ(
                test::LookOf(window.get(), QStringLiteral("sum2_%1").arg(j)).text.toStdString(),
                form.sum2[j].text)
                << step << " " << j;
            EXPECT_EQ(test::LookOf(window.get(), QStringLiteral("sum1_%1").arg(j)).visible,
                      form.sum1[j].shown)
                << step << " " << j;
        }
        EXPECT_EQ(Find<QLabel>("lblResult")->text().toStdString(), form.lblResult.text) << step;
        EXPECT_EQ(Find<QLabel>("lblUER")->text().toStdString(), form.lblUER.text) << step;
        EXPECT_EQ(Find<QPushButton>("Command4")->text().toStdString(), form.Command4.caption)
            << step;
        EXPECT_EQ(Find<QComboBox>("cmbMode")->currentText().toStdString(), form.cmbMode.text())
            << step;
        EXPECT_EQ(Find("Line1_0")->isVisible(), form.Line1[0].shown) << step;
        auto* timer = window->findChild<QTimer*>("Timer1");
        ASSERT_NE(timer, nullptr);
        EXPECT_EQ(timer->isActive(), form.Timer1.enabled()) << step;
    }

    Form twin;
};

TEST_F(EventRoutingTest, EveryEventKindRunsTheSameOperationAsRunEvent) {
    ClickCell("row1_3");
    Expect({{EventKind::ClickData, 3, {}}}, "clicking transmitted data");
    ClickCell("row1_50");
    Expect({{EventKind::ClickData, 50, {}}}, "clicking received data");

    Type("cmbMode", "Parity 1", EventKind::ModeTextChanged);
    ClickCell("row1_60");
    ClickCell("parity_61");
    Expect({{EventKind::ClickData, 60, {}}, {EventKind::ClickParity, 61, {}}},
           "clicking received data and parity");

    auto* mode = Find<QComboBox>("cmbMode");
    mode->showPopup();
    QAbstractItemView* view = mode->view();
    const QRect crc = view->visualRect(view->model()->index(7, 0));
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, crc.center());
    Expect({{EventKind::ModePicked, 7, {}}}, "picking CRC-8");

    ClickCell("sum2_2");
    ClickCell("sum1_5"); // computed, never clicked
    Expect({{EventKind::ClickCheck, 2, {}}}, "clicking check cells");

    Type("cmbErrorRate", "30", EventKind::RateTextChanged);
    Press("Command1", EventKind::PressOne);
    Press("Command3", EventKind::PressReset);
    Press("Command1", EventKind::PressOne);

    // The slow run sends its first frame at once; its next tick is a second away, so the ticks
    // below are the only ones.
    Press("Command4", EventKind::PressRun);
    auto* timer = window->findChild<QTimer*>("Timer1");
    ASSERT_NE(timer, nullptr);
    for (int tick = 0; tick < 3; ++tick) {
        ASSERT_TRUE(QMetaObject::invokeMethod(timer, "timeout"));
    }
    Expect({{EventKind::Tick, 0, {}}, {EventKind::Tick, 0, {}}, {EventKind::Tick, 0, {}}},
           "three ticks");
    Press("Command4", EventKind::PressRun);
    Press("Command4", EventKind::PressRun);
    ASSERT_TRUE(QMetaObject::invokeMethod(timer, "timeout"));
    Expect({{EventKind::Tick, 0, {}}}, "a tick while stopped");

    Press("Command2", EventKind::PressFind);
    Press("Command4", EventKind::PressRun);
}

} // namespace
} // namespace bitwatch
