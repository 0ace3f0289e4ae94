#include "ui/widgets/main_window.h"

#include <QComboBox>
#include <QIcon>
#include <QImageReader>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QShortcut>
#include <QStyle>

#include "ui/accessible_names.h"
#include "ui/widgets/accessibility.h"
#include "ui/widgets/announcer.h"
#include "ui/widgets/built_in_image.h"
#include "ui/widgets/cached_text_label.h"
#include "ui/widgets/cell_board.h"
#include "ui/widgets/colour.h"
#include "ui/widgets/companion_window.h"
#include "ui/widgets/fonts.h"
#include "ui/widgets/keyboard_button.h"
#include "ui/widgets/line_widget.h"
#include "ui/widgets/pixels.h"
#include "ui/widgets/record_sync.h"

namespace bitwatch {

namespace {

// The colour roles and the dark red verdict were chosen for the standard light grey dialog
// background; on a dark desktop the window keeps that background and its black text, so every
// colour keeps the contrast it was chosen for. A light palette is left as it is.
void UseALightPalette(QWidget* window) {
    const QPalette palette = window->palette();
    if (palette.color(QPalette::Window).lightness() >=
        palette.color(QPalette::WindowText).lightness()) {
        return;
    }
    window->setPalette(window->style()->standardPalette());
}

// Reads one of the window's own PNGs. Told no format, QImageReader asks every image-format plugin
// whether it can read the file before it tries its built-in PNG reader, and so loads each plugin
// (and libjpeg with one of them).
QPixmap ReadPng(const QString& path) {
    QImageReader reader(path, "png");
    reader.setAutoDetectImageFormat(false);
    return QPixmap::fromImage(reader.read());
}

// An empty accessible name leaves the widget to read as its own text.
void SetNames(QWidget* widget, const QString& objectName, const QString& accessibleName) {
    widget->setObjectName(objectName);
    if (!accessibleName.isEmpty()) {
        widget->setAccessibleName(accessibleName);
    }
}

Qt::Alignment ToQt(layout::Align align) {
    switch (align) {
    case layout::Align::Left:
        return Qt::AlignLeft;
    case layout::Align::Right:
        return Qt::AlignRight;
    case layout::Align::Centre:
        break;
    }
    return Qt::AlignHCenter;
}

QString ToQString(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

template <typename Label = QLabel>
Label* MakeLabel(QWidget* parent, const layout::Box& box, const layout::TextStyle& style,
                 const QString& objectName, const QString& accessibleName) {
    auto* label = new Label(parent);
    label->setGeometry(ToPixels(box));
    label->setFont(DemoFont(style));
    label->setAlignment(ToQt(style.align) | Qt::AlignTop);
    label->setAutoFillBackground(true);
    label->setFocusPolicy(Qt::NoFocus);
    label->setTextFormat(Qt::PlainText);
    SetNames(label, objectName, accessibleName);
    return label;
}

LineWidget* MakeLine(QWidget* parent, const layout::Segment& segment, const QColor& colour,
                     const QString& objectName) {
    auto* line = new LineWidget(segment, colour, parent);
    line->setObjectName(objectName);
    return line;
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
    InstallAccessibility();
    setObjectName(QStringLiteral("Form1"));
    UseALightPalette(this);
    setWindowTitle(QStringLiteral("Kelm's Bitwatch Demo"));
    resize(ClientSize());

    // A widget created later stacks above those created before it, so the order of these calls
    // is the stacking order, from the bottom up. The buttons and boxes overlap nothing.
    CreateRowCaptions();
    CreateVerdict();
    CreateCells();
    CreateRateLabels();
    CreateRules();
    CreateArrow();
    CreateLogo();
    CreateButtons();
    CreateComboBoxes();
    CreateTimer();
    SetTabOrder();

    Startup(form_);
    Refresh();
    command1_->setFocus();

    auto* why = new QShortcut(QKeySequence(Qt::Key_F1), this);
    connect(why, &QShortcut::activated, this, &MainWindow::ShowCompanion);
}

void MainWindow::ShowCompanion() {
    if (companion_ == nullptr) {
        companion_ = new CompanionWindow(this, [this](const Event& event) { Deliver(event); });
    }
    companion_->ShowNow(form_);
    companion_->show();
    companion_->raise();
    companion_->activateWindow();
}

MainWindow::~MainWindow() = default;

// The window's icon waits for its first picture: decoding it is work the first frame does not
// show, and the title bar takes the icon a moment later.
void MainWindow::paintEvent(QPaintEvent* /*event*/) {
    if (!iconAsked_) {
        iconAsked_ = true;
        QMetaObject::invokeMethod(this, &MainWindow::SetIcon, Qt::QueuedConnection);
    }
}

// The sizes a title bar and a task switcher show, built in. Not the icon theme: looking it up and
// decoding its 256-pixel icon cost a third of the start-up time, and the desktop entry names the
// installed icon for the launcher anyway.
void MainWindow::SetIcon() {
    QIcon icon;
    for (const int size : {16, 32, 48, 64}) {
        icon.addPixmap(ReadPng(QStringLiteral(":/bitwatch/icon-%1.png").arg(size)));
    }
    setWindowIcon(icon);
}

void MainWindow::Deliver(const Event& event) {
    const Timer timerBefore = form_.Timer1;
    RunEvent(form_, event);
    Refresh();
    if (companion_ != nullptr) {
        companion_->Follow(form_);
    }
    if (AnnouncesVerdict(event, timerBefore, form_.Timer1)) {
        announcer_->Announce(lblResult_->text());
    }
}

void MainWindow::CreateRowCaptions() {
    // Captions read as their text, which is what a screen reader should say.
    for (int i = 0; i < 2; ++i) {
        label1_[i] = MakeLabel(this, layout::kLabel1[i], layout::kLabel1Text[i],
                               QStringLiteral("Label1_%1").arg(i), QString());
    }
}

// The verdict and the rate have no accessible name of their own: a label without one is read
// by its text, and Qt announces each new text as a change of its name.
void MainWindow::CreateVerdict() {
    // The verdict and the rate change with every frame of a run, among texts that come back.
    lblResult_ = MakeLabel<CachedTextLabel>(this, layout::kResult, layout::kResultText,
                                            QStringLiteral("lblResult"), QString());
    lblResult_->setAccessibleDescription(ToQString(names::kVerdict));
    announcer_ = new Announcer(this);
    announcer_->move(lblResult_->pos());
}

void MainWindow::CreateCells() {
    cells_ = new CellBoard(this);
    connect(cells_, &CellBoard::clicked, this, [this](CellArray array, int index) {
        const EventKind kind = array == CellArray::Row1     ? EventKind::ClickData
                               : array == CellArray::Parity ? EventKind::ClickParity
                                                            : EventKind::ClickCheck;
        Deliver({kind, static_cast<std::int16_t>(index), {}});
    });
}

void MainWindow::CreateRateLabels() {
    for (int i = 0; i < 4; ++i) {
        label2_[i] = MakeLabel(this, layout::kLabel2[i], layout::kLabel2Text[i],
                               QStringLiteral("Label2_%1").arg(i), QString());
    }
    lblUER_ = MakeLabel<CachedTextLabel>(this, layout::kRate, layout::kRateText,
                                         QStringLiteral("lblUER"), QString());
    lblUER_->setAccessibleDescription(ToQString(names::kRate));
}

void MainWindow::CreateRules() {
    for (int i = 0; i < 2; ++i) {
        line1_[i] = MakeLine(this, layout::kLine1[i], QColor(), QStringLiteral("Line1_%1").arg(i));
    }
}

void MainWindow::CreateArrow() {
    const QColor arrow = ToQColor(layout::kArrowColour);
    line3_ = MakeLine(this, layout::kLine3, arrow, QStringLiteral("Line3"));
    line4_ = MakeLine(this, layout::kLine4, arrow, QStringLiteral("Line4"));
    line5_ = MakeLine(this, layout::kLine5, arrow, QStringLiteral("Line5"));
}

void MainWindow::CreateLogo() {
    imgTorv_ = new QLabel(this);
    imgTorv_->setGeometry(ToPixels(layout::kLogo));
    imgTorv_->setPixmap(QPixmap::fromImage(ToQImage(kLogoImage)));
    imgTorv_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    imgTorv_->setFocusPolicy(Qt::NoFocus);
    SetNames(imgTorv_, QStringLiteral("imgTorv"), ToQString(names::kLogo));
}

void MainWindow::CreateButtons() {
    const QFont font = DemoFont(layout::kButtonText);
    struct ButtonPlace {
        QPushButton*& widget;
        const layout::Box& box;
        const char* objectName;
        std::string_view accessibleName;
        EventKind press;
    };
    const std::array<ButtonPlace, 4> buttons = {{
        {command1_, layout::kCommand1, "Command1", names::kOne, EventKind::PressOne},
        {command3_, layout::kCommand3, "Command3", names::kReset, EventKind::PressReset},
        // No name of its own: it reads as its caption, "Start", "Fast" or "Stop".
        {command4_, layout::kCommand4, "Command4", {}, EventKind::PressRun},
        {command2_, layout::kCommand2, "Command2", names::kFind, EventKind::PressFind},
    }};
    for (const ButtonPlace& button : buttons) {
        button.widget = new KeyboardButton(this);
        button.widget->setGeometry(ToPixels(button.box));
        button.widget->setFont(font);
        button.widget->setFocusPolicy(Qt::StrongFocus);
        SetNames(button.widget, QString::fromLatin1(button.objectName),
                 ToQString(button.accessibleName));
        connect(button.widget, &QPushButton::clicked, this, [this, kind = button.press] {
            Deliver({kind, 0, {}});
        });
    }
}

void MainWindow::CreateComboBoxes() {
    cmbErrorRate_.widget = MakeCombo(this, layout::kErrorRate, DemoFont(layout::kErrorRateText));
    SetNames(cmbErrorRate_.widget, QStringLiteral("cmbErrorRate"), ToQString(names::kRateBox));
    // "Bit Error Rate" labels the box (a labelled-by relation for screen readers).
    label2_[0]->setBuddy(cmbErrorRate_.widget);
    connect(cmbErrorRate_.widget, &QComboBox::editTextChanged, this, [this](const QString& text) {
        Deliver({EventKind::RateTextChanged, 0, text.toStdString()});
    });

    cmbMode_.widget = MakeCombo(this, layout::kMode, DemoFont(layout::kModeText));
    SetNames(cmbMode_.widget, QStringLiteral("cmbMode"), ToQString(names::kModeBox));
    // On Linux Qt names an editable combo box by its current text ("None"); its line edit, which
    // holds the focus, keeps a name of its own.
    // The mode box has no caption on screen; a hidden one labels it for screen readers, which
    // otherwise call it by its current text ("None editable combo box").
    auto* modeCaption = new QLabel(ToQString(names::kModeBox), this);
    modeCaption->setObjectName(QStringLiteral("modeCaption"));
    modeCaption->setBuddy(cmbMode_.widget);
    modeCaption->hide();
    for (QComboBox* combo : {cmbErrorRate_.widget, cmbMode_.widget}) {
        combo->lineEdit()->setAccessibleName(combo->accessibleName());
    }
    connect(cmbMode_.widget, &QComboBox::editTextChanged, this, [this](const QString& text) {
        Deliver({EventKind::ModeTextChanged, 0, text.toStdString()});
    });
    connect(cmbMode_.widget, &QComboBox::activated, this, [this](int index) {
        Deliver({EventKind::ModePicked, static_cast<std::int16_t>(index), {}});
    });
}

void MainWindow::CreateTimer() {
    timer1_.timer.setParent(this);
    timer1_.timer.setObjectName(QStringLiteral("Timer1"));
    timer1_.timer.setTimerType(Qt::PreciseTimer);
    connect(&timer1_.timer, &QTimer::timeout, this, [this] { Deliver({EventKind::Tick, 0, {}}); });
}

void MainWindow::SetTabOrder() {
    setTabOrder(command1_, command3_);
    setTabOrder(command3_, command4_);
    setTabOrder(command4_, cmbErrorRate_.widget);
    setTabOrder(cmbErrorRate_.widget, command2_);
    setTabOrder(command2_, cmbMode_.widget);
}

void MainWindow::Refresh() {
    cells_->ShowRecords(form_);
    SyncEach(label1_, form_.Label1, SyncLabel);
    SyncEach(label2_, form_.Label2, SyncLabel);
    SyncLabel(lblResult_, form_.lblResult);
    SyncLabel(lblUER_, form_.lblUER);
    SyncButton(command1_, form_.Command1);
    SyncButton(command2_, form_.Command2);
    SyncButton(command3_, form_.Command3);
    SyncButton(command4_, form_.Command4);
    SyncEach(line1_, form_.Line1, SyncLine);
    SyncLine(line3_, form_.Line3);
    SyncLine(line4_, form_.Line4);
    SyncLine(line5_, form_.Line5);
    SyncCombo(cmbErrorRate_, form_.cmbErrorRate);
    SyncCombo(cmbMode_, form_.cmbMode);
    SyncTimer(timer1_, form_.Timer1);
}

} // namespace bitwatch
