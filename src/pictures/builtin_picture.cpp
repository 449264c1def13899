#include "pictures/builtin_picture.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <QString>

#include <algorithm>
#include <cmath>

#include "base/errors.h"
#include "base/files.h"

namespace glidtavla {

namespace {

enum class Face { Letter, Digits, Name };

struct Label {
    const char16_t* Text;
    Face Typeface;
};

// Rows top to bottom, columns left to right; the sign pairs have a small gap.
constexpr Label kLabels[7][7] = {
    {{u"C", Face::Letter},
     {u"K", Face::Letter},
     {u"F", Face::Letter},
     {u"R", Face::Letter},
     {u"H", Face::Letter},
     {u"0=", Face::Digits},
     {u"5%", Face::Digits}},
    {{u"B", Face::Letter},
     {u"A", Face::Letter},
     {u"O", Face::Letter},
     {u"U", Face::Letter},
     {u"P", Face::Letter},
     {u"1!", Face::Digits},
     {u"6&", Face::Digits}},
    {{u"M", Face::Letter},
     {u"S", Face::Letter},
     {u"", Face::Letter},
     {u"T", Face::Letter},
     {u"J", Face::Letter},
     {u"2\"", Face::Digits},
     {u"7/", Face::Digits}},
    {{u"L", Face::Letter},
     {u"E", Face::Letter},
     {u"I", Face::Letter},
     {u"SP", Face::Name},
     {u"X", Face::Letter},
     {u"3#", Face::Digits},
     {u"8(", Face::Digits}},
    {{u"V", Face::Letter},
     {u"D", Face::Letter},
     {u"N", Face::Letter},
     {u"G", Face::Letter},
     {u"Z", Face::Letter},
     {u"4\u00A4", Face::Digits},
     {u"9)", Face::Digits}},
    {{u"Q", Face::Letter},
     {u", ;", Face::Letter},
     {u"Y", Face::Letter},
     {u". :", Face::Letter},
     {u"BS", Face::Name},
     {u"LF", Face::Name},
     {u"DL", Face::Name}},
    {{u"\u00C5", Face::Letter},
     {u"\u00C4", Face::Letter},
     {u"\u00D6", Face::Letter},
     {u"< >", Face::Letter},
     {u"W", Face::Letter},
     {u"- _", Face::Letter},
     {u"+ ?", Face::Letter}},
};

QFont FontFor(Face face) {
    // Capitals about 14 pixels high in bold sans; digit pairs and names about 11 pixels.
    QFont font(face == Face::Name ? "DejaVu Serif" : "DejaVu Sans");
    font.setPixelSize(face == Face::Letter ? 19 : 15);
    font.setBold(face == Face::Letter);
    font.setStyleStrategy(QFont::NoAntialias);  // two colours only
    return font;
}

}  // namespace

QImage DrawBuiltInBoardPicture(double scale) {
    QImage picture(ScaledSide(kPictureWidth, scale), ScaledSide(kPictureHeight, scale),
                   QImage::Format_RGB32);
    // 96 dots per inch, so that label sizes in points come out as on a desktop screen.
    picture.setDotsPerMeterX(3780);
    picture.setDotsPerMeterY(3780);
    picture.fill(Qt::white);
    QPainter painter(&picture);
    painter.scale(scale, scale);
    QPen pen(Qt::black);
    pen.setCosmetic(true);
    painter.setPen(pen);
    for (int x = 50; x <= 350; x += 50)
        painter.drawLine(x, 0, x, kPictureHeight - 1);
    for (int y = 40; y <= 280; y += 40)
        painter.drawLine(0, y, kPictureWidth - 1, y);

    for (int row = 0; row < 7; ++row) {
        for (int column = 0; column < 7; ++column) {
            const Label& label = kLabels[row][column];
            const QString text = QString::fromUtf16(label.Text);
            if (text.isEmpty()) continue;
            const QFont font = FontFor(label.Typeface);
            const QFontMetrics metrics(font);
            const QRect ink = metrics.tightBoundingRect(text);
            // Centre the ink in the cell, within 11..22 pixels from the left, 7..16 from the top.
            const int left = std::clamp((49 - ink.width()) / 2, 11, 22);
            const int top = std::clamp((39 - ink.height()) / 2, 7, 16);
            painter.setFont(font);
            painter.drawText(50 * column + left - ink.left(), 40 * row + top - ink.top(), text);
        }
    }
    return picture;
}

std::string BuiltInPictureFile() {
    const QImage picture = DrawBuiltInBoardPicture();
    std::string out =
        "P4\n" + std::to_string(kPictureWidth) + " " + std::to_string(kPictureHeight) + "\n";
    for (int y = 0; y < kPictureHeight; ++y) {
        for (int x = 0; x < kPictureWidth; x += 8) {
            unsigned char bits = 0;
            for (int bit = 0; bit < 8 && x + bit < kPictureWidth; ++bit) {
                if (qGray(picture.pixel(x + bit, y)) < 128)
                    bits |= static_cast<unsigned char>(0x80 >> bit);
            }
            out += static_cast<char>(bits);
        }
    }
    return out;
}

QImage ReadBuiltInPictureFile(const std::string& path) {
    const std::string header =
        "P4\n" + std::to_string(kPictureWidth) + " " + std::to_string(kPictureHeight) + "\n";
    const std::size_t rowBytes = (kPictureWidth + 7) / 8;
    std::string bytes;
    try {
        bool tooLarge = false;
        bytes = ReadRegularFile(path, header.size() + rowBytes * kPictureHeight, tooLarge);
    } catch (const Error&) {
        return {};
    }
    if (bytes.size() != header.size() + rowBytes * kPictureHeight ||
        bytes.compare(0, header.size(), header) != 0)
        return {};
    // A P4 row is a row of Qt's one-bit format, 1 for black: Qt widens it in one pass.
    QImage bits(reinterpret_cast<const uchar*>(bytes.data() + header.size()), kPictureWidth,
                kPictureHeight, static_cast<qsizetype>(rowBytes), QImage::Format_Mono);
    bits.setColorTable({qRgb(255, 255, 255), qRgb(0, 0, 0)});
    QImage picture = bits.convertToFormat(QImage::Format_RGB32);
    picture.setDotsPerMeterX(3780);
    picture.setDotsPerMeterY(3780);
    return picture;
}

QImage BuiltInBoardPicture(double scale) {
    if (scale != 1.0) return DrawBuiltInBoardPicture(scale);
    // The picture the build drew: starting then loads no fonts for a board it does not show
    // yet. Drawn here when it is missing (a test program, a partial install).
    static const QImage unscaled = [] {
        const QImage shipped = ReadBuiltInPictureFile(InstalledDataPath("builtin-board.pbm"));
        return shipped.isNull() ? DrawBuiltInBoardPicture(1.0) : shipped;
    }();
    return unscaled;
}

int ScaledSide(int64_t side, double scale) {
    return static_cast<int>(
        std::clamp<double>(std::floor(double(side) * scale), 0, kMaxScaledSide));
}

QImage DemoMarkerIcon() {
    QImage icon(16, 16, QImage::Format_ARGB32);
    icon.fill(Qt::transparent);
    QPainter painter(&icon);
    const QPointF arrow[] = {{0, 0},      {0, 13},  {3.5, 10},  {6, 15.5},
                             {8.5, 14.5}, {6, 9.5}, {10.5, 9.5}};
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(Qt::white, 1));
    painter.setBrush(Qt::black);
    painter.drawPolygon(arrow, 7);
    return icon;
}

}  // namespace glidtavla
