#include "pictures/board_drawing.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>

#include <algorithm>

#include "base/rounding.h"
#include "base/windows1252.h"
#include "board/cell_label.h"
#include "pictures/builtin_picture.h"

namespace glidtavla {

namespace {

// Geometry is clamped to this range before it reaches the painter: the surface is 354 x 284,
// so anything beyond is clipped anyway, and huge values would overflow the raster engine.
constexpr int64_t kFar = 30000;

int Clamp(int64_t value) {
    return static_cast<int>(std::clamp(value, -kFar, kFar));
}

}  // namespace

LabelOffsets LabelOffsetsOf(const CharacterBoard& board) {
    return {static_cast<uint16_t>(RoundHalfToEven(9 * int64_t{board.ColumnBounds[1]}, 10)),
            static_cast<uint16_t>(RoundHalfToEven(9 * int64_t{board.RowBounds[1]}, 10))};
}

int LabelPointSize(LabelOffsets offsets) {
    if (offsets.X > 60 && offsets.Y > 50) return 24;
    if (offsets.X > 50 && offsets.Y > 40) return 20;
    if (offsets.X > 40 && offsets.Y > 30) return 16;
    if (offsets.X > 30 && offsets.Y > 20) return 12;
    return 8;
}

void DrawBoardFromTable(QImage& picture, const CharacterBoard& board, double scale) {
    const int64_t width = board.BoardWidth;
    const int64_t height = board.BoardHeight;
    QPainter painter(&picture);
    painter.scale(scale, scale);
    QPen pen(Qt::black, 1);
    pen.setCosmetic(true);
    painter.setPen(pen);
    painter.setBrush(Qt::white);

    // The frame lies on x = 0 and x = W - 1, y = 0 and y = H - 1.
    if (width >= 1 && height >= 1) {
        painter.drawRect(0, 0, Clamp(width - 1), Clamp(height - 1));
    }
    const LabelOffsets offsets = LabelOffsetsOf(board);

    // Grid lines stop at the first bound not below the size; their end points are not drawn.
    for (int i = 1; i <= kMaxCells && board.ColumnBounds[i] < width; ++i) {
        const int x = Clamp(board.ColumnBounds[i]);
        if (height >= 1) painter.drawLine(x, 0, x, Clamp(height - 1));
    }
    for (int j = 1; j <= kMaxCells && board.RowBounds[j] < height; ++j) {
        const int y = Clamp(board.RowBounds[j]);
        if (width >= 1) painter.drawLine(0, y, Clamp(width - 1), y);
    }

    QFont font("DejaVu Sans");
    font.setPointSize(LabelPointSize(offsets));
    font.setStyleStrategy(QFont::NoAntialias);  // black and white only
    painter.setFont(font);
    painter.setBackgroundMode(Qt::OpaqueMode);
    painter.setBackground(Qt::white);
    const int ascent = QFontMetrics(font, &picture).ascent();

    // Exactly the cells the pointer can select are labelled: the columns and rows up to the
    // first bound that reaches the board's size. Bounds left over beyond them, from the
    // built-in board or an earlier table, are no cells of this board.
    const int columns = std::min(CellsInUse(board.ColumnBounds, board.BoardWidth), kMaxCells);
    const int rows = std::min(CellsInUse(board.RowBounds, board.BoardHeight), kMaxCells);
    for (int i = 1; i <= columns; ++i) {
        const int64_t x = int64_t{board.ColumnBounds[i]} - offsets.X;
        for (int j = 1; j <= rows; ++j) {
            const int64_t y = int64_t{board.RowBounds[j]} - offsets.Y;
            if (x < -kFar || x > kFar || y < -kFar || y > kFar) continue;
            const std::u32string label = DecodeWindows1252(CellLabel(board, i, j));
            painter.drawText(QPoint(static_cast<int>(x), static_cast<int>(y) + ascent),
                             QString::fromUcs4(label.data(), static_cast<qsizetype>(label.size())));
        }
    }
}

QImage DrawnBoard(const QImage& builtInPicture, const CharacterBoard& board, double scale) {
    const auto side = [scale](int picture, int32_t boardSide) {
        return std::max(picture, std::min(ScaledSide(std::max(boardSide, 0), scale),
                                          ScaledSide(kMaxDrawnSide, scale)));
    };
    const int width = side(builtInPicture.width(), board.BoardWidth);
    const int height = side(builtInPicture.height(), board.BoardHeight);
    QImage picture = builtInPicture.copy();
    if (width != picture.width() || height != picture.height()) {
        QImage larger(width, height, builtInPicture.format());
        larger.setDotsPerMeterX(builtInPicture.dotsPerMeterX());
        larger.setDotsPerMeterY(builtInPicture.dotsPerMeterY());
        larger.fill(Qt::white);
        QPainter(&larger).drawImage(0, 0, builtInPicture);
        picture = larger;
    }
    // Nothing of the built-in board shows beside a smaller one: its grid is white past the
    // smaller board's edges. A board the built-in size or larger is drawn over it whole.
    constexpr int kBuiltInWidth = 350, kBuiltInHeight = 280;
    if (board.BoardWidth < kBuiltInWidth || board.BoardHeight < kBuiltInHeight) {
        QPainter painter(&picture);
        painter.scale(scale, scale);
        const double w = std::max(board.BoardWidth, 0), h = std::max(board.BoardHeight, 0);
        if (w < kBuiltInWidth) painter.fillRect(QRectF(w, 0, kFar, kFar), Qt::white);
        if (h < kBuiltInHeight) painter.fillRect(QRectF(0, h, kFar, kFar), Qt::white);
    }
    DrawBoardFromTable(picture, board, scale);
    return picture;
}

}  // namespace glidtavla
