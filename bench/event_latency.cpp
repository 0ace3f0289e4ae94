// The longest time the window takes to handle one user event, per kind of action, with the
// companion "Why?" open and following: the real widgets, offscreen, each key press or click
// timed from its delivery until the window and the companion have handled it (a benchmark to run
// by hand: ./build/ci/bench/bitwatch_event_latency [ROUNDS]).

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>

#include "ui/widgets/cell_board.h"
#include "ui/widgets/main_window.h"

namespace {

using bitwatch::MainWindow;

// Runs one user event and returns how long its handling took, in milliseconds.
double Timed(const std::function<void()>& event) {
    QElapsedTimer timer;
    timer.start();
    event();
    return static_cast<double>(timer.nsecsElapsed()) / 1e6;
}

class Session {
  public:
    explicit Session(MainWindow& window) : window_(window) {}

    void Keys(const char* kind, const char* box, const QString& text) {
        QLineEdit* edit = window_.findChild<QComboBox*>(box)->lineEdit();
        edit->selectAll();
        Note(kind, Timed([&] { QTest::keyClick(edit, Qt::Key_Backspace); }));
        for (const QChar c : text) {
            Note(kind, Timed([&] { QTest::keyClicks(edit, QString(c)); }));
        }
    }

    void Click(const char* kind, const char* name) {
        QWidget* widget = window_.findChild<QWidget*>(name);
        Note(kind, Timed([&] { QTest::mouseClick(widget, Qt::LeftButton); }));
    }

    // A click at the middle of a cell, on the board that draws it.
    void ClickCell(const char* name) {
        auto* board = window_.findChild<bitwatch::CellBoard*>(QStringLiteral("cells"));
        const QPoint centre = board->cellRect(board->cellNamed(name).value_or(0)).center();
        Note("click a cell", Timed([&] { QTest::mouseClick(board, Qt::LeftButton, {}, centre); }));
    }

    void Model(int index, int size) {
        auto* model = window_.findChild<QComboBox*>("errorModel");
        auto* box = window_.findChild<QSpinBox*>("modelSize");
        Note("choose an error model and its size", Timed([&] {
                 model->setCurrentIndex(index);
                 emit model->activated(index);
             }));
        Note("choose an error model and its size", Timed([&] { box->setValue(size); }));
    }

    void Print() const {
        std::printf("Longest handling of one event, per kind of action (ms)\n");
        for (const auto& [kind, ms] : longest_) {
            std::printf("%-40s %8.2f\n", kind.c_str(), ms);
        }
    }

  private:
    void Note(const std::string& kind, double ms) {
        auto found = std::find_if(longest_.begin(), longest_.end(),
                                  [&](const auto& entry) { return entry.first == kind; });
        if (found == longest_.end()) {
            longest_.emplace_back(kind, ms);
        } else {
            found->second = std::max(found->second, ms);
        }
    }

    MainWindow& window_;
    std::vector<std::pair<std::string, double>> longest_;
};

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
    MainWindow window;
    window.show();
    window.ShowCompanion();
    Session session(window);
    for (int round = 0; round < rounds; ++round) {
        for (const char* mode : {"Checksum", "Internet", "CRC-8", "Parity 8", "Parity 6V"}) {
            session.Keys("type a mode key by key", "cmbMode", QString::fromLatin1(mode));
            for (const char* rate : {"0.25", "3", "50", "1"}) {
                session.Keys("type a rate key by key", "cmbErrorRate", QString::fromLatin1(rate));
            }
            session.ClickCell("row1_60");
            session.ClickCell("row1_61");
            session.Click("press One", "Command1");
            session.Model(1, 3);
            session.Model(2, 9);
            session.Model(0, 2);
            session.Click("press Reset", "Command3");
        }
    }
    session.Print();
    return 0;
}
