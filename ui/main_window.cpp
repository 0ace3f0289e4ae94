#include "ui/main_window.h"

#include <QComboBox>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QSignalBlocker>

#include "channel/run_control.h"
#include "channel/send_frame.h"
#include "ui/cell_widget.h"
#include "ui/colour.h"
#include "ui/fonts.h"
#include "ui/layout.h"
#include "ui/line_widget.h"

namespace bitwatch {

namespace {

constexpr Colour kArrowColour = 0x800080;

QRect ToPixels(const layout::Box& box) {
    constexpr int px = layout::kTwipsPerPixel;
    return {box.left / px, box.top / px, box.width / px, box.height / px};
}

QString ToQString(const std::string& text) {
    return QString::fromStdString(text);
}

// Return and Enter press a focused button too, as they do on the desktops the demo was made for;
// Qt's plain push buttons answer only to the space bar outside dialogs.
class KeyboardButton : public QPushButton {
  public:
    using QPushButton::QPushButton;

  protected:
    void keyPressEvent(QKeyEvent* event) override {
        if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
            event->accept();
            if (!event->isAutoRepeat()) {
                click();
            }
            return;
        }
        QPushButton::keyPressEvent(event);
    }
};

QString CellPosition(int index) {
    const int bit = index % kDataBits;
    return QStringLiteral("bit %1 of byte %2").arg(bit % 8).arg(bit / 8);
}

QString SideName(int index) {
    return index < kDataBits ? QStringLiteral("Transmitted") : QStringLiteral("Received");
}

void SetNames(QWidget* widget, const QString& objectName, const QString& accessibleName) {
    widget->setObjectName(objectName);
    widget->setAccessibleName(accessibleName);
}

QLabel* MakeLabel(QWidget* parent, const layout::Box& box, const QFont& font,
                  Qt::Alignment alignment, const TextLabel& record) {
    auto* label = new QLabel(ToQString(record.text), parent);
    label->setGeometry(ToPixels(box));
    label->setFont(font);
    label->setAlignment(alignment | Qt::AlignTop);
    label->setAutoFillBackground(true);
    label->setFocusPolicy(Qt::NoFocus);
    label->setTextFormat(Qt::PlainText);
    if (record.foreColour != 0) {
        QPalette palette = label->palette();
        palette.setColor(QPalette::WindowText, ToQColor(record.foreColour));
        label->setPalette(palette);
    }
    return label;
}

// An editable drop-down that behaves as the demo needs: what is typed stays as typed (no inline
// completion, so "Parity 4" can be typed on the way to "Parity 48"), Enter adds nothing to the
// list, and leaving the field does not count as picking the entry that matches its text.
QComboBox* MakeCombo(QWidget* parent, const layout::Box& box, const QFont& font) {
    auto* combo = new QComboBox(parent);
    combo->setEditable(true);
    combo->setInsertPolicy(QComboBox::NoInsert);
    combo->setCompleter(nullptr);
    // Qt picks the matching entry (emitting activated) when editing finishes on focus out or
    // Enter; only a real pick from the list may count as one.
    QObject::disconnect(combo->lineEdit(), &QLineEdit::editingFinished, combo, nullptr);
    combo->setGeometry(ToPixels(box));
    combo->setFont(font);
    return combo;
}

} // namespace

MainWindow::MainWindow(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Kelm's Bitwatch Demo"));
    // The installed theme icon where there is one, else the copy built into the program.
    setWindowIcon(QIcon::fromTheme(QStringLiteral("org.bitwatch.Bitwatch"),
                                   QIcon(QStringLiteral(":/bitwatch/icon-256.png"))));
    resize(layout::kClientWidth / layout::kTwipsPerPixel,
           layout::kClientHeight / layout::kTwipsPerPixel);

    // Widgets created later stack above earlier ones; the creation order below is the stacking
    // order from the bottom: captions, verdict, data cells, rate labels, parity cells, rules,
    // check cells, arrow, logo.
    CreateLabels();
    CreateCells();
    CreateLinesAndLogo();
    CreateControls();
    SetTabOrder();

    timer1_.setParent(this);
    timer1_.setObjectName(QStringLiteral("Timer1"));
    timer1_.setTimerType(Qt::PreciseTimer);
    connect(&timer1_, &QTimer::timeout, this, [this] { Handle([this] { RunTick(form_); }); });

    Startup(form_);
    Refresh();
    command1_->setFocus();
}

MainWindow::~MainWindow() = default;

template <typename Operation> void MainWindow::Handle(Operation&& operation) {
    operation();
    Refresh();
}

void MainWindow::CreateLabels() {
    const QFont caption = DemoFont(FontFace::SansSerif, 24);
    label1_[0] = MakeLabel(this, layout::kLabel1[0], caption, Qt::AlignLeft, form_.Label1[0]);
    label1_[1] = MakeLabel(this, layout::kLabel1[1], caption, Qt::AlignHCenter, form_.Label1[1]);
    SetNames(label1_[0], QStringLiteral("Label1_0"), QStringLiteral("Transmitted frame"));
    SetNames(label1_[1], QStringLiteral("Label1_1"), QStringLiteral("Received frame"));

    lblResult_ = MakeLabel(this, layout::kResult, DemoFont(FontFace::Serif, 36), Qt::AlignHCenter,
                           form_.lblResult);
    SetNames(lblResult_, QStringLiteral("lblResult"), QStringLiteral("Verdict"));
}

CellWidget* MainWindow::AddCell(int index, const QFont& font, const layout::Box& box,
                                const QString& objectName, const QString& accessibleName,
                                CellToggle toggle) {
    auto* cell = new CellWidget(index, font, this);
    cell->setGeometry(ToPixels(box));
    SetNames(cell, objectName, accessibleName);
    if (toggle != nullptr) {
        connect(cell, &CellWidget::clicked, this, [this, toggle](int clicked) {
            Handle([this, toggle, clicked] { toggle(form_, static_cast<std::int16_t>(clicked)); });
        });
    }
    return cell;
}

void MainWindow::CreateCells() {
    const QFont dataFont = DemoFont(FontFace::SansSerif, 48);
    const QFont parityFont = DemoFont(FontFace::SansSerif, 36);
    for (int i = 0; i < kCellsPerArray; ++i) {
        row1_[i] = AddCell(i, dataFont, layout::Row1Box(i), QStringLiteral("row1_%1").arg(i),
                           SideName(i) + QStringLiteral(" data ") + CellPosition(i), ToggleDataBit);
    }

    const QFont small = DemoFont(FontFace::SansSerif, 18);
    label2_[0] = MakeLabel(this, layout::kLabel2[0], small, Qt::AlignRight, form_.Label2[0]);
    label2_[1] = MakeLabel(this, layout::kLabel2[1], small, Qt::AlignLeft, form_.Label2[1]);
    label2_[2] = MakeLabel(this, layout::kLabel2[2], small, Qt::AlignLeft, form_.Label2[2]);
    label2_[3] = MakeLabel(this, layout::kLabel2[3], small, Qt::AlignLeft, form_.Label2[3]);
    const std::array<QString, 4> label2Names = {
        QStringLiteral("Bit error rate caption"), QStringLiteral("Percent"),
        QStringLiteral("Undetected error rate caption"), QStringLiteral("Percent")};
    for (int i = 0; i < 4; ++i) {
        SetNames(label2_[i], QStringLiteral("Label2_%1").arg(i), label2Names[i]);
    }
    lblUER_ = MakeLabel(this, layout::kRate, small, Qt::AlignLeft, form_.lblUER);
    SetNames(lblUER_, QStringLiteral("lblUER"), QStringLiteral("Undetected error rate"));

    for (int i = 0; i < kCellsPerArray; ++i) {
        parity_[i] =
            AddCell(i, parityFont, layout::ParityBox(i), QStringLiteral("parity_%1").arg(i),
                    SideName(i) + QStringLiteral(" parity bit after data ") + CellPosition(i),
                    ToggleParityBit);
    }
}

void MainWindow::CreateLinesAndLogo() {
    for (int i = 0; i < 2; ++i) {
        line1_[i] = new LineWidget(layout::kLine1[i], QColor(), this);
        line1_[i]->setObjectName(QStringLiteral("Line1_%1").arg(i));
    }

    const QFont checkFont = DemoFont(FontFace::SansSerif, 48);
    for (int j = 0; j < kCheckBits; ++j) {
        // The transmitted check bits are computed, never clicked.
        sum1_[j] = AddCell(j, checkFont, layout::Sum1Box(j), QStringLiteral("sum1_%1").arg(j),
                           QStringLiteral("Transmitted check bit %1").arg(j), nullptr);
    }
    for (int j = 0; j < kCheckBits; ++j) {
        sum2_[j] = AddCell(j, checkFont, layout::Sum2Box(j), QStringLiteral("sum2_%1").arg(j),
                           QStringLiteral("Received check bit %1").arg(j), ToggleCheckBit);
    }

    const QColor arrow = ToQColor(kArrowColour);
    line3_ = new LineWidget(layout::kLine3, arrow, this);
    line4_ = new LineWidget(layout::kLine4, arrow, this);
    line5_ = new LineWidget(layout::kLine5, arrow, this);
    line3_->setObjectName(QStringLiteral("Line3"));
    line4_->setObjectName(QStringLiteral("Line4"));
    line5_->setObjectName(QStringLiteral("Line5"));

    imgTorv_ = new QLabel(this);
    imgTorv_->setGeometry(ToPixels(layout::kLogo));
    imgTorv_->setPixmap(QPixmap(QStringLiteral(":/bitwatch/logo.png")));
    imgTorv_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    imgTorv_->setFocusPolicy(Qt::NoFocus);
    SetNames(imgTorv_, QStringLiteral("imgTorv"), QStringLiteral("Bitwatch logo"));
}

void MainWindow::CreateControls() {
    const QFont buttonFont = DemoFont(FontFace::SansSerif, 18);
    struct ButtonPlace {
        QPushButton*& widget;
        const PushButton& record;
        const layout::Box& box;
        const char* objectName;
        const char* accessibleName;
    };
    const std::array<ButtonPlace, 4> buttons = {{
        {command1_, form_.Command1, layout::kCommand1, "Command1", "Send one frame"},
        {command3_, form_.Command3, layout::kCommand3, "Command3", "Reset"},
        {command4_, form_.Command4, layout::kCommand4, "Command4", "Run"},
        {command2_, form_.Command2, layout::kCommand2, "Command2", "Find undetected error"},
    }};
    for (const ButtonPlace& button : buttons) {
        button.widget = new KeyboardButton(ToQString(button.record.caption), this);
        button.widget->setGeometry(ToPixels(button.box));
        button.widget->setFont(buttonFont);
        button.widget->setFocusPolicy(Qt::StrongFocus);
        SetNames(button.widget, QString::fromLatin1(button.objectName),
                 QString::fromLatin1(button.accessibleName));
    }
    connect(command1_, &QPushButton::clicked, this, [this] { Handle([this] { SendOne(form_); }); });
    connect(command2_, &QPushButton::clicked, this,
            [this] { Handle([this] { FindUndetected(form_); }); });
    connect(command3_, &QPushButton::clicked, this,
            [this] { Handle([this] { ResetAll(form_); }); });
    connect(command4_, &QPushButton::clicked, this,
            [this] { Handle([this] { CycleRun(form_); }); });

    cmbErrorRate_ = MakeCombo(this, layout::kErrorRate, buttonFont);
    SetNames(cmbErrorRate_, QStringLiteral("cmbErrorRate"),
             QStringLiteral("Bit error rate in percent"));
    // No operation runs for the rate; the channel reads the text at every send.
    connect(cmbErrorRate_, &QComboBox::editTextChanged, this,
            [this](const QString& text) { form_.cmbErrorRate.SetText(text.toStdString()); });

    cmbMode_ = MakeCombo(this, layout::kMode, DemoFont(FontFace::SansSerif, 19.5));
    SetNames(cmbMode_, QStringLiteral("cmbMode"), QStringLiteral("Code mode"));
    connect(cmbMode_, &QComboBox::editTextChanged, this, [this](const QString& text) {
        Handle([this, &text] { form_.cmbMode.SetText(text.toStdString()); });
    });
    connect(cmbMode_, &QComboBox::activated, this,
            [this] { Handle([this] { ApplyMode(form_); }); });
}

void MainWindow::SetTabOrder() {
    setTabOrder(command1_, command3_);
    setTabOrder(command3_, command4_);
    setTabOrder(command4_, cmbErrorRate_);
    setTabOrder(cmbErrorRate_, command2_);
    setTabOrder(command2_, cmbMode_);
}

void MainWindow::Refresh() {
    SyncCells();
    SyncLabels();
    SyncCombos();
    SyncTimer();
}

namespace {

void ShowIfChanged(QWidget* widget, bool shown) {
    if (widget->isHidden() == shown) {
        widget->setHidden(!shown);
    }
}

void SyncText(QLabel* label, const std::string& text) {
    const QString shown = ToQString(text);
    if (label->text() != shown) {
        label->setText(shown);
    }
}

void SyncCombo(QComboBox* combo, const ComboBox& record) {
    // Qt's own changes to the edit text (clearing the list, adding the first entry) must not
    // reach the records as edits: the records already hold the truth.
    const QSignalBlocker blocker(combo);
    bool listMatches = combo->count() == static_cast<int>(record.entries().size());
    for (int i = 0; listMatches && i < combo->count(); ++i) {
        listMatches = combo->itemText(i).toStdString() == record.entries()[i];
    }
    if (!listMatches) {
        combo->clear();
        for (const std::string& entry : record.entries()) {
            combo->addItem(ToQString(entry));
        }
    }
    const QString text = ToQString(record.text());
    if (combo->currentText() != text) {
        combo->setEditText(text);
    }
}

} // namespace

void MainWindow::SyncCells() {
    for (int i = 0; i < kCellsPerArray; ++i) {
        row1_[i]->ShowRecord(form_.row1[i]);
        parity_[i]->ShowRecord(form_.parity[i]);
    }
    for (int j = 0; j < kCheckBits; ++j) {
        sum1_[j]->ShowRecord(form_.sum1[j]);
        sum2_[j]->ShowRecord(form_.sum2[j]);
    }
}

void MainWindow::SyncLabels() {
    SyncText(lblResult_, form_.lblResult.text);
    SyncText(lblUER_, form_.lblUER.text);
    const QString caption = ToQString(form_.Command4.caption);
    if (command4_->text() != caption) {
        command4_->setText(caption);
    }
    ShowIfChanged(line1_[0], form_.Line1[0].shown);
    ShowIfChanged(line1_[1], form_.Line1[1].shown);
}

void MainWindow::SyncCombos() {
    SyncCombo(cmbErrorRate_, form_.cmbErrorRate);
    SyncCombo(cmbMode_, form_.cmbMode);
}

void MainWindow::SyncTimer() {
    const Timer& record = form_.Timer1;
    const bool restarted = record.restarts() != timerRestartsShown_;
    timerRestartsShown_ = record.restarts();
    if (!record.enabled()) {
        timer1_.stop();
    } else if (restarted || !timer1_.isActive()) {
        // QTimer never queues more than one timeout, so ticks cannot pile up behind a slow one.
        timer1_.start(record.interval());
    }
}

} // namespace bitwatch
