// A bare Qt Widgets window with one widget built the way Glidtavla builds its board image:
// the yardstick for the window's start-up, memory and per-sample figures.
#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>
#include <QMouseEvent>

class Tracker : public QLabel {
  public:
    using QLabel::QLabel;
    int moves = 0;

  protected:
    void mouseMoveEvent(QMouseEvent* event) override {
        moves += event->position().toPoint().x() > 0;
    }
};

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle("Glidtavla Ver bare");
    window.menuBar()->addMenu("Fil");
    auto* client = new QWidget(&window);
    window.setCentralWidget(client);
    auto* image = new Tracker(client);
    image->setGeometry(0, 0, 350, 280);
    image->setMouseTracking(true);
    window.setGeometry(73, 351, 812, 588);
    window.show();
    return app.exec();
}
