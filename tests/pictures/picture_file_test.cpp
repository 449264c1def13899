#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QBuffer>
#include <QColor>
#include <QElapsedTimer>
#include <QTest>

#include <cstdint>
#include <filesystem>
#include <random>
#include <utility>
#include <vector>

#include "base/errors.h"
#include "pictures/picture_file.h"
#include "pictures/run_isolated.h"
#include "test_support.h"

using namespace glidtavla;

namespace {

void Put32(std::string& bytes, uint32_t value) {
    for (int i = 0; i < 4; ++i)
        bytes.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}
void Put16(std::string& bytes, uint16_t value) {
    bytes.push_back(static_cast<char>(value & 0xFF));
    bytes.push_back(static_cast<char>(value >> 8));
}

// A small enhanced metafile: header, one rectangle, end.
std::string Emf() {
    std::string records;
    Put32(records, 43);  // EMR_RECTANGLE
    Put32(records, 24);
    for (uint32_t v : {10u, 10u, 90u, 40u})
        Put32(records, v);
    Put32(records, 14);  // EMR_EOF
    Put32(records, 20);
    Put32(records, 0);
    Put32(records, 16);
    Put32(records, 20);
    std::string bytes;
    Put32(bytes, 1);  // EMR_HEADER
    Put32(bytes, 88);
    for (uint32_t v : {0u, 0u, 99u, 49u})
        Put32(bytes, v);  // bounds, pixels
    for (uint32_t v : {0u, 0u, 2646u, 1323u})
        Put32(bytes, v);       // frame, 0.01 mm
    Put32(bytes, 0x464D4520);  // " EMF"
    Put32(bytes, 0x10000);
    Put32(bytes, 88 + static_cast<uint32_t>(records.size()));
    Put32(bytes, 3);  // records
    Put16(bytes, 1);  // handles
    Put16(bytes, 0);
    Put32(bytes, 0);  // description
    Put32(bytes, 0);
    Put32(bytes, 0);  // palette entries
    Put32(bytes, 1024);
    Put32(bytes, 768);
    Put32(bytes, 320);
    Put32(bytes, 240);
    return bytes + records;
}

// A small placeable metafile: header, one rectangle, end.
std::string Wmf() {
    std::string records;
    Put32(records, 7);  // META_RECTANGLE, in words
    Put16(records, 0x041B);
    for (int v : {40, 90, 10, 10})
        Put16(records, static_cast<uint16_t>(v));
    Put32(records, 3);  // META_EOF
    Put16(records, 0);
    std::string bytes;
    Put32(bytes, 0x9AC6CDD7);
    Put16(bytes, 0);
    for (int v : {0, 0, 100, 50})
        Put16(bytes, static_cast<uint16_t>(v));
    Put16(bytes, 96);  // units per inch
    Put32(bytes, 0);
    uint16_t sum = 0;
    for (std::size_t i = 0; i < 20; i += 2) {
        sum ^= static_cast<uint16_t>(static_cast<uint8_t>(bytes[i]) |
                                     (static_cast<uint8_t>(bytes[i + 1]) << 8));
    }
    Put16(bytes, sum);
    Put16(bytes, 1);  // in memory
    Put16(bytes, 9);
    Put16(bytes, 0x300);
    Put32(bytes, static_cast<uint32_t>(18 + records.size()) / 2);
    Put16(bytes, 0);
    Put32(bytes, 7);
    Put16(bytes, 0);
    return bytes + records;
}

std::string Encoded(const QImage& image, const char* format) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes.toStdString();
}

QString Outcome(const std::string& path) {
    try {
        const QImage image = LoadPictureFile(path);
        return QString("%1x%2").arg(image.width()).arg(image.height());
    } catch (const Error& error) {
        return QString::fromStdString(error.what());
    }
}

}  // namespace

class PictureFileTest : public QObject {
    Q_OBJECT
    TempDir dir;

    QString Load(const std::string& name, const std::string& bytes) {
        return Outcome(dir.Write(name, bytes));
    }

  private slots:
    void bitmaps() {
        QImage image(30, 20, QImage::Format_RGB32);
        image.fill(Qt::red);
        const std::string bmp = Encoded(image, "BMP");
        QCOMPARE(Load("ok.bmp", bmp), QString("30x20"));
        QCOMPARE(Load("upper.BMP", bmp), QString("30x20"));
        QCOMPARE(Load("cut.bmp", bmp.substr(0, bmp.size() - 10)), QString("Stream read error"));
        QCOMPARE(Load("header.bmp", bmp.substr(0, 20)), QString("Stream read error"));
        QCOMPARE(Load("empty.bmp", ""), QString("Stream read error"));
        QCOMPARE(Load("png.bmp", Encoded(image, "PNG")), QString("Bitmap image is not valid"));
        std::string wide = bmp;
        wide[18] = '\xFF';
        wide[19] = '\xFF';
        wide[20] = '\xFF';
        wide[21] = '\x7F';
        QCOMPARE(Load("wide.bmp", wide), QString("Bitmap image is not valid"));
    }

    void commonKinds() {
        QImage image(40, 24, QImage::Format_RGB32);
        image.fill(Qt::darkGreen);
        const std::string png = Encoded(image, "PNG");
        const std::string jpeg = Encoded(image, "JPEG");
        QCOMPARE(Load("ok.png", png), QString("40x24"));
        QCOMPARE(Load("ok.jpg", jpeg), QString("40x24"));
        QCOMPARE(Load("ok.JPEG", jpeg), QString("40x24"));
        QCOMPARE(Load("ok.svg",
                      "<svg xmlns='http://www.w3.org/2000/svg' width='70' height='50'>"
                      "<rect x='1' y='1' width='60' height='40'/></svg>"),
                 QString("70x50"));
        QCOMPARE(Load("cut.png", png.substr(0, 40)), QString("PNG image is not valid"));
        QCOMPARE(Load("bmp.png", Encoded(image, "BMP")), QString("PNG image is not valid"));
        QCOMPARE(Load("text.jpg", "not a picture"), QString("JPEG image is not valid"));
        QCOMPARE(Load("broken.svg", "<svg><rect"), QString("SVG image is not valid"));
        QCOMPARE(Load("huge.svg",
                      "<svg xmlns='http://www.w3.org/2000/svg' width='90000' "
                      "height='10'/>"),
                 QString("SVG image is not valid"));
    }

    void icons() {
        QImage image(16, 16, QImage::Format_ARGB32);
        image.fill(Qt::blue);
        const std::string ico = Encoded(image, "ICO");
        QCOMPARE(Load("ok.ico", ico), QString("16x16"));
        QCOMPARE(Load("cut.ico", ico.substr(0, 30)), QString("Stream read error"));
        std::string cursor = ico;
        cursor[2] = 2;
        QCOMPARE(Load("cursor.ico", cursor), QString("Icon image is not valid"));
        std::string garbage = ico;
        for (std::size_t i = 22; i < garbage.size(); ++i)
            garbage[i] = '\x5A';
        QCOMPARE(Load("garbage.ico", garbage), QString("Icon image is not valid"));
    }

    void metafiles() {
        const QString emf = Load("ok.emf", Emf());
        QVERIFY2(QRegularExpression("^[1-9][0-9]*x[1-9][0-9]*$").match(emf).hasMatch(),
                 qPrintable(emf));
        std::string badSignature = Emf();
        badSignature[40] = 'X';
        QCOMPARE(Load("sig.emf", badSignature), QString("Metafile is not valid"));
        QCOMPARE(Load("cut.emf", Emf().substr(0, 100)), QString("Stream read error"));
        QCOMPARE(Load("tiny.emf", "\x01\x00"), QString("Stream read error"));

        const QString wmf = Load("ok.WMF", Wmf());
        QVERIFY2(QRegularExpression("^[1-9][0-9]*x[1-9][0-9]*$").match(wmf).hasMatch(),
                 qPrintable(wmf));
        std::string badType = Wmf();
        badType[22] = 5;
        QCOMPARE(Load("type.wmf", badType), QString("Metafile is not valid"));
        QCOMPARE(Load("cut.wmf", Wmf().substr(0, 45)), QString("Stream read error"));
    }

    // Mangled metafiles that pass the header checks may do anything inside the decoder; the
    // program gets a picture or a message, never a crash or a hang.
    // A description the header says lies beyond the header (or the file) is refused before
    // any decoder reads it.
    void anEmfDescriptionOutsideItsHeaderIsRefused() {
        std::string bytes = Emf();
        for (const auto& [length, offset] : {std::pair{100u, 88u}, std::pair{4u, 4000000u},
                                             std::pair{0x80000000u, 88u}, std::pair{2u, 40u}}) {
            std::string header = bytes;
            for (int i = 0; i < 4; ++i) {
                header[60 + i] = static_cast<char>((length >> (8 * i)) & 0xFF);
                header[64 + i] = static_cast<char>((offset >> (8 * i)) & 0xFF);
            }
            QCOMPARE(Load("d.emf", header), QString("Metafile is not valid"));
        }
    }

    void hostileMetafilesNeverTakeTheProgramDown() {
        std::mt19937 random(11);
        for (const auto& [name, valid] : {std::pair{"h.emf", Emf()}, std::pair{"h.wmf", Wmf()}}) {
            for (int round = 0; round < 25; ++round) {
                std::string bytes = valid;
                const std::size_t header = name == std::string("h.emf") ? 88 : 40;
                for (int i = 0; i < 6; ++i) {
                    bytes[header + random() % (bytes.size() - header)] =
                        static_cast<char>(random());
                }
                const QString outcome = Load(name, bytes);
                QVERIFY2(outcome.contains('x') || outcome == "Metafile is not valid",
                         qPrintable(outcome));
            }
        }
    }

    // A drawing runs in a program of its own under a deadline and a memory limit: one that
    // would run on, or take all the memory, gives nothing back instead of freezing or ending the
    // window.
    void aDrawingThatRunsOnIsStoppedInTime() {
        QElapsedTimer clock;
        clock.start();
        QVERIFY(!RunIsolated("/bin/sleep", {"30"}, "", std::chrono::seconds(1), 100));
        QVERIFY(clock.elapsed() < 5000);
#if !defined(__SANITIZE_ADDRESS__)
        QVERIFY(!RunIsolated("/usr/bin/python3", {"-c", "b = bytearray(3 << 30); print(1)"}, "",
                             std::chrono::seconds(5), 100));
#endif
        QVERIFY(!RunIsolated("/bin/cat", {}, std::string(101, 'x'), std::chrono::seconds(5), 100));
        QVERIFY(!RunIsolated("/no/such/program", {}, "", std::chrono::seconds(5), 100));
        QVERIFY(!RunIsolated("/bin/false", {}, "", std::chrono::seconds(5), 100));
        QCOMPARE(RunIsolated("/bin/cat", {}, "ok", std::chrono::seconds(5), 100),
                 std::optional<std::string>("ok"));
    }

    // Why a run gave nothing is told apart, and what the program says on its standard error
    // never reaches ours.
    void whyARunFailedIsToldAndItsErrorsStayItsOwn() {
        const std::vector<std::pair<std::string, IsolatedFailure>> runs{
            {"/no/such/program", IsolatedFailure::CouldNotStart},
            {"/bin/sleep", IsolatedFailure::RanTooLong},
            {"/bin/false", IsolatedFailure::Failed}};
        for (const auto& [program, expected] : runs) {
            IsolatedFailure why = IsolatedFailure::Failed;
            QVERIFY(!RunIsolated(program, {"30"}, "", std::chrono::seconds(1), 100, &why));
            QCOMPARE(why, expected);
        }
        const std::string errors = dir.File("errors.txt");
        const int saved = dup(STDERR_FILENO);
        const int file = open(errors.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        dup2(file, STDERR_FILENO);
        const auto said = RunIsolated("/bin/sh", {"-c", "echo leaked >&2; echo ok"}, "",
                                      std::chrono::seconds(5), 100);
        dup2(saved, STDERR_FILENO);
        close(file);
        close(saved);
        QCOMPARE(said, std::optional<std::string>("ok\n"));
        QCOMPARE(std::filesystem::file_size(errors), std::uintmax_t{0});
    }

    // A picture draws only what is inside it: a file it names is neither drawn nor waited on
    // (a FIFO would hold the drawing to its deadline); data written into it is drawn.
    void anSvgDrawsOnlyWhatIsInsideIt() {
        QImage red(20, 20, QImage::Format_RGB32);
        red.fill(Qt::red);
        const std::string png = Encoded(red, "PNG");
        const std::string file = dir.Write("red.png", png);
        const std::string fifo = dir.File("wait.png");
        QCOMPARE(mkfifo(fifo.c_str(), 0600), 0);
        const auto svg = [](const std::string& target) {
            return "<svg xmlns='http://www.w3.org/2000/svg' "
                   "xmlns:xlink='http://www.w3.org/1999/xlink' width='20' height='20'>"
                   "<g><image xlink:href='" +
                   target + "' width='20' height='20'/></g></svg>";
        };
        for (const std::string& target : {file, "file://" + file, std::string("red.png"), fifo}) {
            QElapsedTimer clock;
            clock.start();
            const QImage image = LoadPictureFile(dir.Write("names.svg", svg(target)));
            QVERIFY2(clock.elapsed() < 5000, target.c_str());
            QCOMPARE(image.pixelColor(10, 10), QColor(Qt::white));
        }
        const std::string data =
            "data:image/png;base64," + QByteArray::fromStdString(png).toBase64().toStdString();
        QCOMPARE(LoadPictureFile(dir.Write("inside.svg", svg(data))).pixelColor(10, 10),
                 QColor(Qt::red));
    }

    void namesAndFiles() {
        QCOMPARE(Load("bild.GIF", "x"), QString("Unknown picture file extension (.GIF)"));
        QCOMPARE(Outcome(dir.File("noext")), QString("Unknown picture file extension (.)"));
        QCOMPARE(Outcome(dir.File("missing.bmp")),
                 QString::fromStdString("Cannot open file " + dir.File("missing.bmp")));
        std::filesystem::create_directory(dir.File("folder.ico"));
        QCOMPARE(Outcome(dir.File("folder.ico")),
                 QString::fromStdString("Cannot open file " + dir.File("folder.ico")));
    }
};

QTEST_MAIN(PictureFileTest)
#include "picture_file_test.moc"
