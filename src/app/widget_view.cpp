#include "app/widget_view.h"

#include <QAccessible>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>

#include "app/accessibility.h"
#include "app/form/colours.h"
#include "app/form/text_area.h"
#include "app/predict/word_prediction.h"
#include "app/speech/speech.h"
#include "board/character_board.h"
#include "text/codec.h"

namespace glidtavla {

namespace {

// Most samples leave most read-outs as they were; an unchanged text costs nothing.
void SetText(QLineEdit* edit, const QString& text) {
    if (edit->text() != text) edit->setText(text);
}

// The character cell shows the three control codes by key symbols its bold face has.
QString CellText(uint8_t ch) {
    switch (ch) {
        case 0:
            return QString();
        case kCodeDeleteLine:
            return QString(QChar(0x2327));  // clear key
        case kCodeBackspace:
            return QString(QChar(0x232B));  // erase to the left
        case kCodeLineFeed:
            return QString(QChar(0x21B5));  // return
        default:
            return ToQString(std::string(1, static_cast<char>(ch)));
    }
}

}  // namespace

void WidgetView::ShowReadouts(int32_t x0, int32_t y0, int64_t x1, int64_t y1) {
    SetText(c_.Edit2, QString::number(x0));
    SetText(c_.Edit3, QString::number(y0));
    SetText(c_.Edit4, QString::number(x1));
    SetText(c_.Edit5, QString::number(y1));
}

void WidgetView::ShowCharacterCell(uint8_t ch, IndicatorColour colour) {
    if (colour != cellColour_) {
        cellColour_ = colour;
        Colour(c_.Edit6, colour);
    }
    SetText(c_.Edit6, CellText(ch));
    SetText(c_.Edit9, QString::number(ch));
}

void WidgetView::SetCharacterLineColour(IndicatorColour colour) {
    if (colour == lineColour_) return;
    lineColour_ = colour;
    Colour(c_.Edit1, colour);
}

void WidgetView::Colour(QLineEdit* indicator, IndicatorColour colour) {
    const Colours& colours = CurrentColours();
    SetColours(indicator, colours.Indicator(colour), colours.TextOn(colour));
}

void WidgetView::Recolour() {
    Colour(c_.Edit6, cellColour_);
    Colour(c_.Edit1, lineColour_);
}

std::string WidgetView::CharacterLine() {
    return FromQString(c_.Edit1->text());
}

std::size_t WidgetView::CharacterLineLength() {
    return static_cast<std::size_t>(c_.Edit1->text().size());
}

void WidgetView::AppendToCharacterLine(uint8_t ch) {
    SetCharacterLine(c_.Edit1->text() + ToQString(std::string(1, static_cast<char>(ch))));
}

void WidgetView::TruncateCharacterLine(std::size_t length) {
    SetCharacterLine(c_.Edit1->text().left(static_cast<qsizetype>(length)));
}

// A screen reader hears each fetch once: the character, or what BS and DL took away.
void WidgetView::SetCharacterLine(const QString& text) {
    const QString before = c_.Edit1->text();
    c_.Edit1->setText(text);
    AnnounceTextChange(c_.Edit1, before, text);
}

void WidgetView::AppendTextAreaLine(const std::string& line) {
    glidtavla::AppendTextAreaLine(c_.Memo1, line);
    if (words_ != nullptr) words_->LineWritten(line);
    if (speech_ != nullptr) speech_->LineWritten(line);
}

void WidgetView::CharacterFetched(uint8_t ch, std::size_t lengthBefore, std::size_t lengthAfter) {
    fetched_(ch, lengthBefore, lengthAfter);
    if (speech_ != nullptr) speech_->Fetched(ch, lengthBefore, CharacterLine());
}

void WidgetView::ShowArmed(uint8_t code) {
    if (speech_ != nullptr) speech_->Armed(code);
}

void WidgetView::ShiftCellChanged(int state) {
    if (shiftState_ == nullptr) {
        shiftState_ = new QLabel(c_.Edit1);
        shiftState_->setObjectName("Skiftlage");
        shiftState_->setAttribute(Qt::WA_TransparentForMouseEvents);
        shiftState_->setStyleSheet("background: #ffd54f; color: black; padding: 0 4px;");
    }
    const QString text = state == 1 ? "Skift" : state == 2 ? "Skiftlås" : QString();
    shiftState_->setText(text);
    shiftState_->setAccessibleName(text.isEmpty() ? "Skift av" : text);
    shiftState_->setFont(c_.Edit1->font());
    shiftState_->adjustSize();
    shiftState_->move(c_.Edit1->width() - shiftState_->width() - 2,
                      (c_.Edit1->height() - shiftState_->height()) / 2);
    shiftState_->setVisible(!text.isEmpty());
    QAccessibleEvent event(shiftState_, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&event);
}

std::optional<std::string> WidgetView::WordToComplete(int slot) {
    return words_ != nullptr ? words_->WordToComplete(slot) : std::nullopt;
}

}  // namespace glidtavla
