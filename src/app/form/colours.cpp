#include "app/form/colours.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>

#include <cmath>

#include "app/form/form_controls.h"

namespace glidtavla {

namespace {

const Colours kForm{QColor(56, 144, 13), QColor(0, 0, 255),   QColor(0, 255, 0),
                    QColor(200, 0, 0),   QColor(26, 35, 126), QColor(102, 102, 102),
                    QColor(0, 0, 0),     QColor(0, 0, 0),     false};
const Colours kHigh{QColor(0, 0, 0),   QColor(255, 255, 0),   QColor(0, 255, 0),
                    QColor(150, 0, 0), QColor(0, 0, 0),       QColor(0, 0, 139),
                    QColor(0, 0, 0),   QColor(255, 255, 255), true};

const Colours* current = &kForm;

bool Dark(IndicatorColour colour) {
    return colour == IndicatorColour::Blue || colour == IndicatorColour::Red ||
           colour == IndicatorColour::Green;
}

double Linear(int channel) {
    const double c = channel / 255.0;
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

double Luminance(const QColor& colour) {
    return 0.2126 * Linear(colour.red()) + 0.7152 * Linear(colour.green()) +
           0.0722 * Linear(colour.blue());
}

}  // namespace

QColor Colours::Indicator(IndicatorColour colour) const {
    switch (colour) {
        case IndicatorColour::White:
            return QColor(255, 255, 255);
        case IndicatorColour::Yellow:
            return QColor(255, 255, 0);
        case IndicatorColour::Blue:
            return QColor(0, 0, 255);
        case IndicatorColour::Red:
            return High ? QColor(170, 0, 0) : QColor(255, 0, 0);
        case IndicatorColour::Green:
            return High ? QColor(0, 100, 0) : QColor(0, 128, 0);
        case IndicatorColour::Lime:
            return QColor(0, 255, 0);
    }
    return Qt::white;
}

QColor Colours::TextOn(IndicatorColour colour) const {
    return Dark(colour) ? TextOnDark : Text;
}

const Colours& CurrentColours() {
    return *current;
}

void UseHighContrast(bool high) {
    current = high ? &kHigh : &kForm;
}

void SetColours(QWidget* widget, const QColor& base, const QColor& text) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Base, base);
    palette.setColor(QPalette::Text, text);
    widget->setPalette(palette);
}

void ApplyColours(const FormControls& form) {
    const Colours& colours = CurrentColours();
    QPalette client = form.Client->palette();
    client.setColor(QPalette::Window, colours.Background);
    form.Client->setPalette(client);
    for (QLabel* label : {form.Label1, form.Label2, form.Label3}) {
        QPalette palette = label->palette();
        palette.setColor(QPalette::WindowText, colours.Welcome);
        label->setPalette(palette);
    }
    SetColours(form.Edit8, colours.SourceLine, colours.Text);
    form.DemoNotice->setStyleSheet(
        QString("background: %1; color: white; font-weight: bold;").arg(colours.DemoNotice.name()));
}

double ContrastRatio(const QColor& a, const QColor& b) {
    const double la = Luminance(a), lb = Luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

}  // namespace glidtavla
