// A program to write into: a text field that saves its text to a file at every change, and
// logs when each change arrived (nanoseconds since the epoch, then the text's length).
#include <QApplication>
#include <QFile>
#include <QPlainTextEdit>

#include <chrono>
#include <cstdio>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc < 3) return 2;
    const QString textPath = QString::fromLocal8Bit(argv[1]);
    FILE* log = std::fopen(argv[2], "a");
    if (log == nullptr) return 2;
    QPlainTextEdit edit;
    edit.setWindowTitle("Mottagare");
    edit.setGeometry(100, 100, 400, 200);  // clear of the panel along the screen's foot
    QObject::connect(&edit, &QPlainTextEdit::textChanged, [&] {
        const auto now = std::chrono::system_clock::now().time_since_epoch();
        const long long ns = std::chrono::duration_cast<std::chrono::nanoseconds>(now).count();
        const QString text = edit.toPlainText();
        QFile file(textPath);
        if (file.open(QIODevice::WriteOnly)) file.write(text.toUtf8());
        std::fprintf(log, "%lld %lld\n", ns, static_cast<long long>(text.size()));
        std::fflush(log);
    });
    edit.show();
    return app.exec();
}
