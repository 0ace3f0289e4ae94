#include "ui/companion_window.h"

#include <QScrollBar>
#include <QTextBrowser>
#include <QVBoxLayout>

#include "ui/companion.h"

namespace bitwatch {

CompanionWindow::CompanionWindow(QWidget* mainWindow)
    : QWidget(mainWindow, Qt::Window), text_(new QTextBrowser(this)) {
    setObjectName(QStringLiteral("companion"));
    setWindowTitle(
        QString::fromUtf8(kCompanionTitle.data(), static_cast<qsizetype>(kCompanionTitle.size())));
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
    layout->addWidget(text_);
    resize(560, 698);
    if (mainWindow != nullptr) {
        move(mainWindow->frameGeometry().topRight() + QPoint(8, 0));
    }
}

void CompanionWindow::Follow(const Form& form) {
    if (isVisible() && CompanionFollows(form)) {
        ShowNow(form);
    }
}

void CompanionWindow::ShowNow(const Form& form) {
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
