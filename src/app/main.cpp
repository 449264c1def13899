// Glidtavla: writing with the mouse alone.
#include <QApplication>
#include <QFile>

#include "app/tform1.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("Glidtavla");
    const QStringList args = QApplication::arguments();
    const std::string document = args.size() > 1 ? QFile::encodeName(args[1]).toStdString() : "";
    glidtavla::TForm1 form(document);
    form.show();
    return app.exec();
}
