// A program to write into: a text field that saves its text to a file at every change, and
// logs when each change arrived (nanoseconds since the epoch, then the text's length). With a
// third file, each key press's text and the X state it came with (modifiers and pointer
// buttons, as a screen reader reads them), one "state text" line each.
// Usage: receiver TEXT-FILE ARRIVALS-LOG [KEY-STATES-LOG]
#include <QApplication>
#include <QFile>
#include <QKeyEvent>
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
    FILE* states = argc > 3 ? std::fopen(argv[3], "a") : nullptr;
    struct KeyStates : QObject {
        FILE* out = nullptr;
        bool eventFilter(QObject* watched, QEvent* event) override {
            if (event->type() == QEvent::KeyPress) {
                const auto* key = static_cast<QKeyEvent*>(event);
                std::fprintf(out, "%u %s\n", key->nativeModifiers(),
                             key->text().toUtf8().constData());
                std::fflush(out);
            }
            return QObject::eventFilter(watched, event);
        }
    } keyStates;
    keyStates.out = states;
    if (states != nullptr) edit.installEventFilter(&keyStates);
    edit.show();
    return app.exec();
}
