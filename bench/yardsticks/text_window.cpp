// A second yardstick for start-up: a bare window that shows each text the demo shows when it
// starts, in the demo's font and box, as a plain label, and nothing else (one data cell stands
// for all of them). What it costs beyond bitwatch_bare_window is the cost of the start's fonts
// and glyphs, which any window showing those texts pays.

#include <QApplication>
#include <QLabel>
#include <QWidget>

#include "core/frame.h"
#include "ui/layout.h"
#include "ui/widgets/fonts.h"
#include "ui/widgets/pixels.h"

namespace {

void AddText(QWidget* window, const std::string& text, const bitwatch::layout::Box& box,
             const bitwatch::layout::TextStyle& style) {
    auto* label = new QLabel(QString::fromStdString(text), window);
    label->setGeometry(bitwatch::ToPixels(box));
    label->setFont(bitwatch::DemoFont(style));
}

} // namespace

int main(int argc, char* argv[]) {
    namespace layout = bitwatch::layout;
    QApplication app(argc, argv);
    bitwatch::Form form;
    bitwatch::Startup(form);

    QWidget window;
    window.setWindowTitle(QStringLiteral("Text Window"));
    window.resize(bitwatch::ClientSize());
    for (int i = 0; i < 2; ++i) {
        AddText(&window, form.Label1[i].text, layout::kLabel1[i], layout::kLabel1Text[i]);
    }
    for (int i = 0; i < 4; ++i) {
        AddText(&window, form.Label2[i].text, layout::kLabel2[i], layout::kLabel2Text[i]);
    }
    AddText(&window, form.lblResult.text, layout::kResult, layout::kResultText);
    AddText(&window, form.lblUER.text, layout::kRate, layout::kRateText);
    AddText(&window, form.Command1.caption, layout::kCommand1, layout::kButtonText);
    AddText(&window, form.Command2.caption, layout::kCommand2, layout::kButtonText);
    AddText(&window, form.Command3.caption, layout::kCommand3, layout::kButtonText);
    AddText(&window, form.Command4.caption, layout::kCommand4, layout::kButtonText);
    AddText(&window, form.cmbErrorRate.text(), layout::kErrorRate, layout::kErrorRateText);
    AddText(&window, form.cmbMode.text(), layout::kMode, layout::kModeText);
    AddText(&window, form.row1[0].text, layout::Row1Box(0), layout::kDataText);
    window.show();
    return QApplication::exec();
}
