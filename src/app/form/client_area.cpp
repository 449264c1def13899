#include "app/form/client_area.h"

#include <QMainWindow>
#include <QPlainTextEdit>
#include <QScrollArea>
#include <QScrollBar>

namespace glidtavla {

QWidget* CreateClientArea(QMainWindow* window, const QColor& background) {
    auto* client = new QWidget(window);
    client->setObjectName("client");
    QPalette palette = client->palette();
    palette.setColor(QPalette::Window, background);
    client->setPalette(palette);
    client->setAutoFillBackground(true);
    window->setCentralWidget(ScrollingClientArea(client));
    return client;
}

QScrollArea* ScrollingClientArea(QWidget* client) {
    auto* area = new QScrollArea;
    area->setObjectName("scroll");
    area->setFrameShape(QFrame::NoFrame);
    area->setWidgetResizable(true);  // the client fills the window, and is never smaller
    area->setWidget(client);
    return area;
}

void FitClientToControls(QWidget* client) {
    const QRect used = client->childrenRect();
    client->setMinimumSize(std::min(std::max(used.right() + 1, 0), QWIDGETSIZE_MAX),
                           std::min(std::max(used.bottom() + 1, 0), QWIDGETSIZE_MAX));
}

int Pixels(int64_t value) {
    return static_cast<int>(std::clamp<int64_t>(value, -QWIDGETSIZE_MAX, QWIDGETSIZE_MAX));
}

int MinimumTextAreaHeight(const QPlainTextEdit* textArea) {
    const int lines = 5 * textArea->fontMetrics().lineSpacing();
    const int margins =
        2 * (textArea->frameWidth() + static_cast<int>(textArea->document()->documentMargin()));
    return lines + margins + textArea->horizontalScrollBar()->sizeHint().height();
}

}  // namespace glidtavla
