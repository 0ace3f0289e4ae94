#include "ui/widgets/companion_window.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QTextBrowser>
#include <QVBoxLayout>

#include "channel/send_frame.h"
#include "ui/companion.h"

namespace bitwatch {

namespace {

QString FromView(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

CompanionWindow::CompanionWindow(QWidget* mainWindow, Deliver deliver)
    : QWidget(mainWindow, Qt::Window), deliver_(std::move(deliver)), text_(new QTextBrowser(this)) {
    setObjectName(QStringLiteral("companion"));
    setWindowTitle(FromView(kCompanionTitle));
    setAccessibleName(QStringLiteral("Why?"));
    // Closing the main window ends the program; this one alone keeps nothing running.
    setAttribute(Qt::WA_QuitOnClose, false);
    text_->setObjectName(QStringLiteral("companionText"));
    text_->setAccessibleName(QStringLiteral("Why the check caught it, or missed it"));
    text_->setOpenLinks(false);
    QFont font = text_->font();
    font.setPointSizeF(11);
    text_->setFont(font);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    CreateModelControls();
    layout->addWidget(text_);
    resize(560, 698);
    if (mainWindow != nullptr) {
        move(mainWindow->frameGeometry().topRight() + QPoint(8, 0));
    }
}

void CompanionWindow::CreateModelControls() {
    auto* bar = new QHBoxLayout;
    bar->setContentsMargins(8, 6, 8, 6);
    auto* label = new QLabel(QStringLiteral("&Error model:"), this);
    model_ = new QComboBox(this);
    model_->setObjectName(QStringLiteral("errorModel"));
    model_->setAccessibleName(QStringLiteral("Error model"));
    for (const std::string_view name : kErrorModelNames) {
        model_->addItem(FromView(name));
    }
    label->setBuddy(model_);
    sizeLabel_ = new QLabel(this);
    size_ = new QSpinBox(this);
    size_->setObjectName(QStringLiteral("modelSize"));
    sizeLabel_->setBuddy(size_);
    bar->addWidget(label);
    bar->addWidget(model_);
    bar->addSpacing(12);
    bar->addWidget(sizeLabel_);
    bar->addWidget(size_);
    bar->addStretch();
    static_cast<QVBoxLayout*>(layout())->addLayout(bar);

    connect(model_, &QComboBox::activated, this, [this](int index) {
        deliver_({EventKind::ModelPicked, static_cast<std::int16_t>(index), {}});
    });
    connect(size_, &QSpinBox::valueChanged, this, [this](int value) {
        deliver_({EventKind::ModelSizeChanged, static_cast<std::int16_t>(value), {}});
    });
}

void CompanionWindow::SyncModel(const Form& form) {
    const QSignalBlocker modelBlocker(model_);
    const QSignalBlocker sizeBlocker(size_);
    const ErrorModel& model = form.errorModel;
    model_->setCurrentIndex(static_cast<int>(model.kind));
    // This runs after every event, a fast run's frames too: a screen reader hears of a new
    // name, so the name is set only when it changes.
    const QString caption = FromView(SizeCaption(model.kind));
    if (size_->accessibleName() != caption) {
        sizeLabel_->setText(QLatin1Char('&') + caption + QLatin1Char(':'));
        size_->setAccessibleName(caption);
    }
    const int n = SentLength(form);
    size_->setRange(1, n);
    size_->setValue(SizeInFrame(model, n));
    // The random channel reads the rate box instead.
    const bool used = model.kind != ErrorModelKind::RandomBits;
    size_->setEnabled(used);
    sizeLabel_->setEnabled(used);
}

void CompanionWindow::Follow(const Form& form) {
    if (!isVisible()) {
        return;
    }
    SyncModel(form);
    if (CompanionFollows(form)) {
        ShowNow(form);
    }
}

void CompanionWindow::ShowNow(const Form& form) {
    SyncModel(form);
    std::string html = "<h2>Why?</h2>" + CompanionHtml(form);
    if (html != shown_) {
        shown_ = std::move(html);
        // Keep the reader's place when the same frame is shown again with another count.
        const int scrolled =
            text_->verticalScrollBar() != nullptr ? text_->verticalScrollBar()->value() : 0;
        text_->setHtml(QString::fromStdString(shown_));
        text_->verticalScrollBar()->setValue(scrolled);
    }
}

} // namespace bitwatch
