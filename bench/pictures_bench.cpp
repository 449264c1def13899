// DrawBoardFromTable on a full 20 x 20 board, and loading each kind of board picture.
#include <QBuffer>
#include <QGuiApplication>
#include <QImage>

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "pictures/board_drawing.h"
#include "pictures/builtin_picture.h"
#include "pictures/picture_file.h"

namespace glidtavla {
namespace {

void BM_DrawBoardFromTable20x20(benchmark::State& bench) {
    CharacterBoard board;
    ResetToBuiltInBoard(board);
    for (int i = 1; i <= kMaxCells; ++i) {
        board.ColumnBounds[i] = 17 * i;
        board.RowBounds[i] = 14 * i;
        for (int j = 1; j <= kMaxCells; ++j)
            board.NormalCodes[i][j] = static_cast<uint8_t>(33 + (i * 20 + j) % 200);
    }
    board.BoardWidth = 340;
    board.BoardHeight = 280;
    const QImage builtIn = BuiltInBoardPicture();
    for (auto _ : bench) {
        QImage picture = builtIn.copy();
        DrawBoardFromTable(picture, board);
        benchmark::DoNotOptimize(picture.constBits());
    }
}
BENCHMARK(BM_DrawBoardFromTable20x20)->Unit(benchmark::kMicrosecond);

std::string Write(const std::string& name, const QByteArray& bytes) {
    const std::string path = "/tmp/glidtavla-bench-" + std::to_string(getpid()) + "-" + name;
    std::ofstream(path, std::ios::binary).write(bytes.data(), bytes.size());
    return path;
}

QByteArray Encoded(int side, const char* format) {
    QImage image(side, side, QImage::Format_ARGB32);
    image.fill(Qt::darkCyan);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

// A small metafile of each kind: a header, a rectangle, the end.
QByteArray Metafile(bool enhanced) {
    QByteArray b;
    const auto u32 = [&b](uint32_t v) {
        for (int i = 0; i < 4; ++i)
            b.append(char(v >> (8 * i)));
    };
    const auto u16 = [&b](uint16_t v) {
        b.append(char(v));
        b.append(char(v >> 8));
    };
    if (enhanced) {
        for (uint32_t v :
             {1u, 88u, 0u, 0u, 353u, 280u, 0u, 0u, 9340u, 7408u, 0x464D4520u, 0x10000u, 132u, 3u})
            u32(v);
        u16(1);
        u16(0);
        for (uint32_t v : {0u, 0u, 0u, 1024u, 768u, 320u, 240u})
            u32(v);
        for (uint32_t v : {43u, 24u, 10u, 10u, 300u, 250u, 14u, 20u, 0u, 16u, 20u})
            u32(v);
    } else {
        u32(0x9AC6CDD7);
        u16(0);
        for (uint16_t v : std::initializer_list<uint16_t>{0, 0, 354, 284})
            u16(v);
        u16(96);
        u32(0);
        u16(0);
        u16(1);
        u16(9);
        u16(0x300);
        u32(19);
        u16(0);
        u32(7);
        u16(0);
        u32(7);
        u16(0x041B);
        for (uint16_t v : std::initializer_list<uint16_t>{250, 300, 10, 10})
            u16(v);
        u32(3);
        u16(0);
    }
    return b;
}

void LoadKind(benchmark::State& bench, const std::string& path) {
    for (auto _ : bench) {
        const QImage image = LoadPictureFile(path);
        benchmark::DoNotOptimize(image.constBits());
    }
    std::remove(path.c_str());
}

void BM_LoadBitmap354x284(benchmark::State& bench) {
    QImage image = BuiltInBoardPicture();
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "BMP");
    LoadKind(bench, Write("b.bmp", bytes));
}
void BM_LoadIcon32(benchmark::State& bench) {
    LoadKind(bench, Write("i.ico", Encoded(32, "ICO")));
}
void BM_LoadEnhancedMetafile(benchmark::State& bench) {
    LoadKind(bench, Write("e.emf", Metafile(true)));
}
void BM_LoadMetafile(benchmark::State& bench) {
    LoadKind(bench, Write("w.wmf", Metafile(false)));
}
BENCHMARK(BM_LoadBitmap354x284)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LoadIcon32)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LoadEnhancedMetafile)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LoadMetafile)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace glidtavla

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
