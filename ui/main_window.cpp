#include "ui/main_window.h"

#include <QComboBox>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QSignalBlocker>

#include "ui/cell_widget.h"
#include "ui/colour.h"
#include "ui/fonts.h"
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
                  Qt::Alignment alignment) {
    auto* label = new QLabel(parent);
    label->setGeometry(ToPixels(box));
    label->setFont(font);
    label->setAlignment(alignment | Qt::AlignTop);
    label->setAutoFillBackground(true);
    label->setFocusPolicy(Qt::NoFocus);
    label->setTextFormat(Qt::PlainText);
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

void SyncShown(QWidget* widget, bool shown) {
    if (widget->isHidden() == shown) {
        widget->setHidden(!shown);
    }
}

// A colour of 0 in a label's record stands for the platform's standard text colour.
void SyncLabel(QLabel* label, const TextLabel& record) {
    const QString text = ToQString(record.text);
    if (label->text() != text) {
        label->setText(text);
    }
    if (record.foreColour != 0 &&
        label->palette().color(QPalette::WindowText) != ToQColor(record.foreColour)) {
        QPalette palette = label->palette();
        palette.setColor(QPalette::WindowText, ToQColor(record.foreColour));
        label->setPalette(palette);
    }
    SyncShown(label, record.shown);
}

void SyncButton(QPushButton* button, const PushButton& record) {
    const QString caption = ToQString(record.caption);
    if (button->text() != caption) {
        button->setText(caption);
    }
}

void SyncLine(LineWidget* line, const Line& record) {
    SyncShown(line, record.shown);
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

    // A widget created later stacks above those created before it, so the order of these calls
    // is the stacking order, from the bottom up. The buttons and boxes overlap nothing.
    CreateRowCaptions();
    CreateVerdict();
    CreateDataCells();
    CreateRateLabels();
    CreateParityCells();
    CreateRules();
    CreateCheckCells();
    CreateArrow();
    CreateLogo();
    CreateButtons();
    CreateComboBoxes();
    CreateTimer();
    SetTabOrder();

    Startup(form_);
    Refresh();
    command1_->setFocus();
}

MainWindow::~MainWindow() = default;

void MainWindow::Deliver(const Event& event) {
    RunEvent(form_, event);
    Refresh();
}

CellWidget* MainWindow::AddCell(int index, const QFont& font, const layout::Box& box,
                                const QString& objectName, const QString& accessibleName,
                                std::optional<EventKind> click) {
    auto* cell = new CellWidget(index, font, this);
    cell->setGeometry(ToPixels(box));
    SetNames(cell, objectName, accessibleName);
    if (click) {
        connect(cell, &CellWidget::clicked, this, [this, kind = *click](int clicked) {
            Deliver({kind, static_cast<std::int16_t>(clicked), {}});
        });
    }
    return cell;
}

void MainWindow::CreateRowCaptions() {
    const QFont caption = DemoFont(FontFace::SansSerif, 24);
    label1_[0] = MakeLabel(this, layout::kLabel1[0], caption, Qt::AlignLeft);
    label1_[1] = MakeLabel(this, layout::kLabel1[1], caption, Qt::AlignHCenter);
    SetNames(label1_[0], QStringLiteral("Label1_0"), QStringLiteral("Transmitted frame"));
    SetNames(label1_[1], QStringLiteral("Label1_1"), QStringLiteral("Received frame"));
}

void MainWindow::CreateVerdict() {
    lblResult_ = MakeLabel(this, layout::kResult, DemoFont(FontFace::Serif, 36), Qt::AlignHCenter);
    SetNames(lblResult_, QStringLiteral("lblResult"), QStringLiteral("Verdict"));
}

void MainWindow::CreateDataCells() {
    const QFont font = DemoFont(FontFace::SansSerif, 48);
    for (int i = 0; i < kCellsPerArray; ++i) {
        row1_[i] =
            AddCell(i, font, layout::Row1Box(i), QStringLiteral("row1_%1").arg(i),
                    SideName(i) + QStringLiteral(" data ") + CellPosition(i), EventKind::ClickData);
    }
}

void MainWindow::CreateRateLabels() {
    const QFont small = DemoFont(FontFace::SansSerif, 18);
    label2_[0] = MakeLabel(this, layout::kLabel2[0], small, Qt::AlignRight);
    for (int i = 1; i < 4; ++i) {
        label2_[i] = MakeLabel(this, layout::kLabel2[i], small, Qt::AlignLeft);
    }
    const std::array<QString, 4> names = {
        QStringLiteral("Bit error rate caption"), QStringLiteral("Percent"),
        QStringLiteral("Undetected error rate caption"), QStringLiteral("Percent")};
    for (int i = 0; i < 4; ++i) {
        SetNames(label2_[i], QStringLiteral("Label2_%1").arg(i), names[i]);
    }
    lblUER_ = MakeLabel(this, layout::kRate, small, Qt::AlignLeft);
    SetNames(lblUER_, QStringLiteral("lblUER"), QStringLiteral("Undetected error rate"));
}

void MainWindow::CreateParityCells() {
    const QFont font = DemoFont(FontFace::SansSerif, 36);
    for (int i = 0; i < kCellsPerArray; ++i) {
        parity_[i] =
            AddCell(i, font, layout::ParityBox(i), QStringLiteral("parity_%1").arg(i),
                    SideName(i) + QStringLiteral(" parity bit after data ") + CellPosition(i),
                    EventKind::ClickParity);
    }
}

void MainWindow::CreateRules() {
    for (int i = 0; i < 2; ++i) {
        line1_[i] = new LineWidget(layout::kLine1[i], QColor(), this);
        line1_[i]->setObjectName(QStringLiteral("Line1_%1").arg(i));
    }
}

void MainWindow::CreateCheckCells() {
    const QFont font = DemoFont(FontFace::SansSerif, 48);
    for (int j = 0; j < kCheckBits; ++j) {
        // The transmitted check bits are computed, never clicked.
        sum1_[j] = AddCell(j, font, layout::Sum1Box(j), QStringLiteral("sum1_%1").arg(j),
                           QStringLiteral("Transmitted check bit %1").arg(j), std::nullopt);
    }
    for (int j = 0; j < kCheckBits; ++j) {
        sum2_[j] = AddCell(j, font, layout::Sum2Box(j), QStringLiteral("sum2_%1").arg(j),
                           QStringLiteral("Received check bit %1").arg(j), EventKind::ClickCheck);
    }
}

void MainWindow::CreateArrow() {
    const QColor arrow = ToQColor(kArrowColour);
    line3_ = new LineWidget(layout::kLine3, arrow, this);
    line4_ = new LineWidget(layout::kLine4, arrow, this);
    line5_ = new LineWidget(layout::kLine5, arrow, this);
    line3_->setObjectName(QStringLiteral("Line3"));
    line4_->setObjectName(QStringLiteral("Line4"));
    line5_->setObjectName(QStringLiteral("Line5"));
}

void MainWindow::CreateLogo() {
    imgTorv_ = new QLabel(this);
    imgTorv_->setGeometry(ToPixels(layout::kLogo));
    imgTorv_->setPixmap(QPixmap(QStringLiteral(":/bitwatch/logo.png")));
    imgTorv_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    imgTorv_->setFocusPolicy(Qt::NoFocus);
    SetNames(imgTorv_, QStringLiteral("imgTorv"), QStringLiteral("Bitwatch logo"));
}

void MainWindow::CreateButtons() {
    const QFont font = DemoFont(FontFace::SansSerif, 18);
    struct ButtonPlace {
        QPushButton*& widget;
        const layout::Box& box;
        const char* objectName;
        const char* accessibleName;
        EventKind press;
    };
    const std::array<ButtonPlace, 4> buttons = {{
        {command1_, layout::kCommand1, "Command1", "Send one frame", EventKind::PressOne},
        {command3_, layout::kCommand3, "Command3", "Reset", EventKind::PressReset},
        {command4_, layout::kCommand4, "Command4", "Run", EventKind::PressRun},
        {command2_, layout::kCommand2, "Command2", "Find undetected error", EventKind::PressFind},
    }};
    for (const ButtonPlace& button : buttons) {
        button.widget = new KeyboardButton(this);
        button.widget->setGeometry(ToPixels(button.box));
        button.widget->setFont(font);
        button.widget->setFocusPolicy(Qt::StrongFocus);
        SetNames(button.widget, QString::fromLatin1(button.objectName),
                 QString::fromLatin1(button.accessibleName));
        connect(button.widget, &QPushButton::clicked, this, [this, kind = button.press] {
            Deliver({kind, 0, {}});
        });
    }
}

void MainWindow::CreateComboBoxes() {
    const QFont rateFont = DemoFont(FontFace::SansSerif, 18);
    cmbErrorRate_.widget = MakeCombo(this, layout::kErrorRate, rateFont);
    SetNames(cmbErrorRate_.widget, QStringLiteral("cmbErrorRate"),
             QStringLiteral("Bit error rate in percent"));
    connect(cmbErrorRate_.widget, &QComboBox::editTextChanged, this, [this](const QString& text) {
        Deliver({EventKind::RateTextChanged, 0, text.toStdString()});
    });

    cmbMode_.widget = MakeCombo(this, layout::kMode, DemoFont(FontFace::SansSerif, 19.5));
    SetNames(cmbMode_.widget, QStringLiteral("cmbMode"), QStringLiteral("Code mode"));
    connect(cmbMode_.widget, &QComboBox::editTextChanged, this, [this](const QString& text) {
        Deliver({EventKind::ModeTextChanged, 0, text.toStdString()});
    });
    connect(cmbMode_.widget, &QComboBox::activated, this, [this](int index) {
        Deliver({EventKind::ModePicked, static_cast<std::int16_t>(index), {}});
    });
}

void MainWindow::CreateTimer() {
    timer1_.setParent(this);
    timer1_.setObjectName(QStringLiteral("Timer1"));
    timer1_.setTimerType(Qt::PreciseTimer);
    connect(&timer1_, &QTimer::timeout, this, [this] { Deliver({EventKind::Tick, 0, {}}); });
}

void MainWindow::SetTabOrder() {
    setTabOrder(command1_, command3_);
    setTabOrder(command3_, command4_);
    setTabOrder(command4_, cmbErrorRate_.widget);
    setTabOrder(cmbErrorRate_.widget, command2_);
    setTabOrder(command2_, cmbMode_.widget);
}

void MainWindow::Refresh() {
    for (int i = 0; i < kCellsPerArray; ++i) {
        row1_[i]->ShowRecord(form_.row1[i]);
        parity_[i]->ShowRecord(form_.parity[i]);
    }
    for (int j = 0; j < kCheckBits; ++j) {
        sum1_[j]->ShowRecord(form_.sum1[j]);
        sum2_[j]->ShowRecord(form_.sum2[j]);
    }
    for (std::size_t i = 0; i < label1_.size(); ++i) {
        SyncLabel(label1_[i], form_.Label1[i]);
    }
    for (std::size_t i = 0; i < label2_.size(); ++i) {
        SyncLabel(label2_[i], form_.Label2[i]);
    }
    SyncLabel(lblResult_, form_.lblResult);
    SyncLabel(lblUER_, form_.lblUER);
    SyncButton(command1_, form_.Command1);
    SyncButton(command2_, form_.Command2);
    SyncButton(command3_, form_.Command3);
    SyncButton(command4_, form_.Command4);
    SyncLine(line1_[0], form_.Line1[0]);
    SyncLine(line1_[1], form_.Line1[1]);
    SyncLine(line3_, form_.Line3);
    SyncLine(line4_, form_.Line4);
    SyncLine(line5_, form_.Line5);
    SyncCombo(cmbErrorRate_, form_.cmbErrorRate);
    SyncCombo(cmbMode_, form_.cmbMode);
    SyncTimer();
}

void MainWindow::SyncCombo(ComboView& view, const ComboBox& record) {
    // Qt's own changes to the edit text (clearing the list, adding the first entry) must not
    // reach the records as edits: the records already hold the truth.
    const QSignalBlocker blocker(view.widget);
    if (view.entries != record.entries()) {
        view.entries = record.entries();
        view.widget->clear();
        for (const std::string& entry : view.entries) {
            view.widget->addItem(ToQString(entry));
        }
        // Clearing and filling the list rewrites the edit text behind the record's back.
        view.text.clear();
        view.widget->setEditText(ToQString(record.text()));
    }
    if (view.text != record.text()) {
        view.text = record.text();
        const QString text = ToQString(view.text);
        if (view.widget->currentText() != text) {
            view.widget->setEditText(text);
        }
    }
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
