#include "app/predict/suggestion_overlays.h"

#include <QLabel>
#include <QLineEdit>

#include "app/form/board_image.h"
#include "app/form/colours.h"
#include "app/form/form_layout.h"
#include "board/word_column.h"
#include "text/codec.h"

namespace glidtavla {

namespace {

QLabel* Overlay(QWidget* parent, const QString& name) {
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    label->setAttribute(Qt::WA_TransparentForMouseEvents);
    label->setAlignment(Qt::AlignCenter);
    label->hide();
    return label;
}

}  // namespace

SuggestionOverlays::SuggestionOverlays(const FormControls& controls, const FormLayout& layout)
    : c_(controls), layout_(layout) {
    centre_ = Overlay(c_.Image1, "Ordforslag");
    ghost_ = Overlay(c_.Edit1, "OrdforslagRest");
    ghost_->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    for (int slot = 1; slot <= kMaxSlots; ++slot)
        slots_.push_back(Overlay(c_.Image1, QString("Ordplats%1").arg(slot)));
    Recolour();
}

// The rest of the completion stands out from what is written, yet at 4.5:1 or more on the
// line's white and yellow.
void SuggestionOverlays::Recolour() {
    const Colours& colours = CurrentColours();
    high_ = colours.High;
    const QString word =
        QString("color: %1; background: rgba(255, 255, 255, 200);").arg(colours.Suggestion.name());
    centre_->setStyleSheet(word);
    ghost_->setStyleSheet(QString("color: %1; background: transparent;").arg(colours.Tail.name()));
    for (QLabel* label : slots_)
        label->setStyleSheet(word + "border: 1px solid #9e9e9e;");
}

void SuggestionOverlays::Show(const CharacterBoard& board, const std::vector<std::string>& words,
                              const std::string& rest, bool shown) {
    if (high_ != CurrentColours().High) Recolour();
    ShowCentre(board, words.empty() ? "" : words[0], rest);
    ShowColumn(board, words, shown);
}

void SuggestionOverlays::ShowCentre(const CharacterBoard& board, const std::string& word,
                                    const std::string& rest) {
    const QString text = ToQString(word);
    if (description_.isNull()) description_ = c_.Edit1->accessibleDescription();
    const QString described = text.isEmpty() ? description_
                                             : description_ + " Ordförslag: " + text +
                                                   ". Mellanslag med skift skriver det.";
    // Each change is an event to a screen reader: the same description is not said again.
    if (c_.Edit1->accessibleDescription() != described)
        c_.Edit1->setAccessibleDescription(described);
    if (text.isEmpty()) {
        centre_->hide();
        ghost_->hide();
        return;
    }
    const QRect cell = layout_.CellRect(board, 3, 3);
    centre_->setGeometry(cell);
    QFont font = c_.Edit1->font();
    font.setPixelSize(std::max(8, cell.height() / 3));
    centre_->setFont(font);
    centre_->setText(centre_->fontMetrics().elidedText(text, Qt::ElideRight, cell.width()));
    centre_->show();
    // The rest of the word, greyed, just after the text of the line.
    ghost_->setFont(c_.Edit1->font());
    const int x = c_.Edit1->contentsRect().left() + c_.Edit1->textMargins().left() + 2 +
                  c_.Edit1->fontMetrics().horizontalAdvance(c_.Edit1->text());
    ghost_->setText(ToQString(rest));
    ghost_->setGeometry(x, 0, ghost_->sizeHint().width(), c_.Edit1->height());
    ghost_->setVisible(x + ghost_->width() < c_.Edit1->width());
}

void SuggestionOverlays::ShowColumn(const CharacterBoard& board,
                                    const std::vector<std::string>& words, bool shown) {
    for (int slot = 1; slot <= kMaxSlots; ++slot) {
        QLabel* label = slots_[static_cast<std::size_t>(slot - 1)];
        const std::optional<BoardCell> cell = shown ? SlotCell(board, slot) : std::nullopt;
        if (!cell) {
            label->hide();
            continue;
        }
        const QRect rect = layout_.CellRect(board, cell->Column, cell->Row);
        const auto index = static_cast<std::size_t>(slot);
        const QString word = index < words.size() ? ToQString(words[index]) : QString();
        label->setGeometry(rect);
        QFont font = c_.Edit1->font();
        font.setPixelSize(std::max(8, rect.height() / 3));
        label->setFont(font);
        label->setText(label->fontMetrics().elidedText(word, Qt::ElideRight, rect.width() - 4));
        label->setAccessibleName(QString("Ordplats %1: %2").arg(slot).arg(word));
        label->show();
    }
}

}  // namespace glidtavla
