#include "ui/widgets/main_window.h"

#include <algorithm>

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

// The live labels (the verdict and the rate) change with every frame of a run, among texts that
// come back: they cache their pictures.
QLabel* MakeLabel(QWidget* parent, const window::Row& row, int index) {
    auto* label = row.live ? new CachedTextLabel(parent) : new QLabel(parent);
    const layout::TextStyle style = row.style(index);
    label->setGeometry(ToPixels(row.box(index)));
    label->setFont(DemoFont(style));
    label->setAlignment(ToQt(style.align) | Qt::AlignTop);
    label->setAutoFillBackground(true);
    label->setFocusPolicy(Qt::NoFocus);
    label->setTextFormat(Qt::PlainText);
    // The verdict and the rate have no accessible name of their own: a label without one is read
    // by its text, and Qt announces each new text as a change of its name.
    if (!row.description.empty()) {
        label->setAccessibleDescription(ToQString(row.description));
    }
    return label;
}

QWidget* MakeLogo(QWidget* parent, const window::Row& row) {
    auto* logo = new QLabel(parent);
    logo->setGeometry(ToPixels(row.box(0)));
    logo->setPixmap(QPixmap::fromImage(ToQImage(kLogoImage)));
    logo->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    logo->setFocusPolicy(Qt::NoFocus);
    return logo;
}

QWidget* MakeButton(QWidget* parent, const window::Row& row) {
    auto* button = new KeyboardButton(parent);
    button->setGeometry(ToPixels(row.box(0)));
    button->setFont(DemoFont(row.style(0)));
    button->setFocusPolicy(Qt::StrongFocus);
    return button;
}

// An editable drop-down that behaves as the demo needs: what is typed stays as typed (no inline
// completion, so "Parity 4" can be typed on the way to "Parity 48"), Enter adds nothing to the
// list, and leaving the field does not count as picking the entry that matches its text.
QComboBox* MakeCombo(QWidget* parent, const window::Row& row) {
    auto* combo = new QComboBox(parent);
    combo->setEditable(true);
    combo->setInsertPolicy(QComboBox::NoInsert);
    combo->setCompleter(nullptr);
    // Qt picks the matching entry (emitting activated) when editing finishes on focus out or
    // Enter; only a real pick from the list may count as one.
    QObject::disconnect(combo->lineEdit(), &QLineEdit::editingFinished, combo, nullptr);
    combo->setGeometry(ToPixels(row.box(0)));
    combo->setFont(DemoFont(row.style(0)));
    return combo;
}

} // namespace

MainWindow::MainWindow(QWidget* parent) : QWidget(parent) {
    InstallAccessibility();
    setObjectName(QStringLiteral("Form1"));
    UseALightPalette(this);
    setWindowTitle(QStringLiteral("Kelm's Bitwatch Demo"));
    resize(ClientSize());

    // A widget created later stacks above those created before it, so the rows, which run from
    // the bottom of the stacking up, are created in their order.
    for (const window::Row& row : window::Rows()) {
        mirrors_.push_back({&row, {}, {}});
    }
    for (Mirror& mirror : mirrors_) {
        Create(mirror);
        Bind(mirror);
    }
    SetTabOrder();

    Startup(form_);
    Refresh();

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
    const bool announces = RunEventAnnouncing(form_, event);
    Refresh();
    if (companion_ != nullptr) {
        companion_->Follow(form_);
    }
    if (announces) {
        announcer_->Announce(announced_->text());
    }
}

void MainWindow::Create(Mirror& mirror) {
    const window::Row& row = *mirror.row;
    if (row.kind == window::Kind::Cells) {
        // One board draws every cell: it is made with the first row of cells.
        if (cells_ == nullptr) {
            CreateCells();
        }
        return;
    }
    if (row.kind == window::Kind::Timer) {
        timer1_.timer.setParent(this);
        timer1_.timer.setObjectName(ToQString(row.name));
        timer1_.timer.setTimerType(Qt::PreciseTimer);
        return;
    }
    for (int i = 0; i < row.count; ++i) {
        QWidget* widget = CreateElement(row, i);
        widget->setObjectName(QString::fromStdString(window::ElementName(row, i)));
        // An empty accessible name leaves the widget to read as its own text.
        if (!row.accessibleName.empty()) {
            widget->setAccessibleName(ToQString(row.accessibleName));
        }
        mirror.widgets.push_back(widget);
    }
    if (row.kind == window::Kind::Box) {
        mirror.combo.widget = static_cast<QComboBox*>(mirror.widgets.front());
    }
    if (row.announced) {
        announced_ = static_cast<QLabel*>(mirror.widgets.front());
        announcer_ = new Announcer(this);
        announcer_->move(announced_->pos());
    }
}

QWidget* MainWindow::CreateElement(const window::Row& row, int index) {
    switch (row.kind) {
    case window::Kind::Label:
        return MakeLabel(this, row, index);
    case window::Kind::Line:
        return new LineWidget(row.segment(index), row.colour ? ToQColor(*row.colour) : QColor(),
                              this);
    case window::Kind::Logo:
        return MakeLogo(this, row);
    case window::Kind::Button:
        return MakeButton(this, row);
    case window::Kind::Box:
        return MakeCombo(this, row);
    case window::Kind::Cells:
    case window::Kind::Timer:
        break;
    }
    return nullptr;
}

void MainWindow::CreateCells() {
    cells_ = new CellBoard(this);
    connect(cells_, &CellBoard::clicked, this, [this](CellArray array, int index) {
        for (const window::Row& row : window::Rows()) {
            if (row.kind == window::Kind::Cells && row.cells == array && row.press) {
                Deliver({*row.press, static_cast<std::int16_t>(index), {}});
            }
        }
    });
}

void MainWindow::Bind(const Mirror& mirror) {
    const window::Row& row = *mirror.row;
    if (row.kind == window::Kind::Timer && row.press) {
        connect(&timer1_.timer, &QTimer::timeout, this, [this, kind = *row.press] {
            Deliver({kind, 0, {}});
        });
    }
    if (row.kind == window::Kind::Button && row.press) {
        connect(static_cast<QPushButton*>(mirror.widgets.front()), &QPushButton::clicked, this,
                [this, kind = *row.press] {
                    Deliver({kind, 0, {}});
                });
    }
    if (row.kind != window::Kind::Box) {
        return;
    }
    QComboBox* combo = mirror.combo.widget;
    // On Linux Qt names an editable combo box by its current text ("None"); its line edit, which
    // holds the focus, keeps a name of its own.
    combo->lineEdit()->setAccessibleName(combo->accessibleName());
    if (!row.labelledBy.empty()) {
        // The caption labels the box (a labelled-by relation for screen readers).
        findChild<QLabel*>(ToQString(row.labelledBy))->setBuddy(combo);
    } else {
        // A box without a caption on screen gets a hidden one for screen readers, which otherwise
        // call it by its current text ("None editable combo box").
        auto* caption = new QLabel(combo->accessibleName(), this);
        caption->setObjectName(ToQString(row.name) + QStringLiteral("Caption"));
        caption->setBuddy(combo);
        caption->hide();
    }
    if (row.change) {
        connect(combo, &QComboBox::editTextChanged, this,
                [this, kind = *row.change](const QString& text) {
                    Deliver({kind, 0, text.toStdString()});
                });
    }
    if (row.pick) {
        connect(combo, &QComboBox::activated, this, [this, kind = *row.pick](int index) {
            Deliver({kind, static_cast<std::int16_t>(index), {}});
        });
    }
}

// The controls Tab reaches, in their places; the first of them starts with the focus.
void MainWindow::SetTabOrder() {
    std::vector<const Mirror*> order;
    for (const Mirror& mirror : mirrors_) {
        if (mirror.row->tabPlace > 0) {
            order.push_back(&mirror);
        }
    }
    std::stable_sort(order.begin(), order.end(), [](const Mirror* a, const Mirror* b) {
        return a->row->tabPlace < b->row->tabPlace;
    });
    for (std::size_t i = 1; i < order.size(); ++i) {
        setTabOrder(order[i - 1]->widgets.front(), order[i]->widgets.front());
    }
    if (!order.empty()) {
        order.front()->widgets.front()->setFocus();
    }
}

void MainWindow::Refresh() {
    cells_->ShowRecords(form_);
    for (Mirror& mirror : mirrors_) {
        Sync(mirror);
    }
}

void MainWindow::Sync(Mirror& mirror) {
    const window::Row& row = *mirror.row;
    const window::Record& record = row.record;
    switch (row.kind) {
    case window::Kind::Label:
        for (int i = 0; i < row.count; ++i) {
            SyncLabel(static_cast<QLabel*>(mirror.widgets[static_cast<std::size_t>(i)]),
                      record.label(form_, i));
        }
        return;
    case window::Kind::Button:
        SyncButton(static_cast<QPushButton*>(mirror.widgets.front()), record.button(form_));
        return;
    case window::Kind::Line:
        for (int i = 0; i < row.count; ++i) {
            SyncLine(static_cast<LineWidget*>(mirror.widgets[static_cast<std::size_t>(i)]),
                     record.line(form_, i));
        }
        return;
    case window::Kind::Box:
        SyncCombo(mirror.combo, record.box(form_));
        return;
    case window::Kind::Timer:
        SyncTimer(timer1_, record.timer(form_));
        return;
    case window::Kind::Cells:
    case window::Kind::Logo:
        return;
    }
}

} // namespace bitwatch
