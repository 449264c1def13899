// The cost of one pointer sample in the window: a synthetic move over Image1, through the
// handler, the engine and the controls' updates; beside the same event sent to a bare widget.
#include <QApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPlainTextEdit>

#include <benchmark/benchmark.h>

#include <vector>

#include "app/predict/word_prediction.h"
#include "app/tform1.h"

namespace glidtavla {
namespace {

class NoDialogs : public Dialogs {
  public:
    std::optional<QString> Ask(DialogKind, const QString&) override { return std::nullopt; }
    void ShowError(const QString&) override {}
    SaveChoice AskToSave(const QString&) override { return SaveChoice::Discard; }
    ReplaceChoice AskToReplace(const QString&, const QString&) override {
        return ReplaceChoice::Cancel;
    }
};

class BareImage : public QLabel {
  public:
    int moves = 0;

  protected:
    void mouseMoveEvent(QMouseEvent* event) override {
        moves += event->position().toPoint().x() > 0;
    }
};

// A gesture path over the built-in board: out to each cell and back to the centre.
std::vector<QPointF> Path() {
    std::vector<QPointF> points;
    for (int row = 1; row <= 7; ++row) {
        for (int column = 1; column <= 7; ++column) {
            points.emplace_back(125, 100);
            points.emplace_back(50 * column - 25, 40 * row - 20);
            points.emplace_back(50 * column - 22, 40 * row - 17);
        }
    }
    return points;
}

void SendMoves(benchmark::State& bench, QWidget* target) {
    const std::vector<QPointF> points = Path();
    std::size_t i = 0;
    for (auto _ : bench) {
        QMouseEvent event(QEvent::MouseMove, points[i], target->mapToGlobal(points[i]),
                          Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(target, &event);
        if (++i == points.size()) i = 0;
    }
    bench.SetItemsProcessed(bench.iterations());
}

void BM_GlidtavlaWindowSample(benchmark::State& bench) {
    TForm1 form("", std::make_unique<NoDialogs>());
    form.show();
    form.Button1Click();
    SendMoves(bench, form.findChild<QLabel*>("Image1"));
    form.findChild<QPlainTextEdit*>("Memo1")->clear();
}
BENCHMARK(BM_GlidtavlaWindowSample);

// The same with the word column beside the board, the board the engine writes on wider.
void BM_GlidtavlaWindowSampleWithWordColumn(benchmark::State& bench) {
    TForm1 form("", std::make_unique<NoDialogs>());
    form.Prediction().Use({true, false, 0, true});
    form.show();
    form.Button1Click();
    while (!form.Prediction().ModelRead())  // measured with the model, as a writer has it
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    SendMoves(bench, form.findChild<QLabel*>("Image1"));
    form.findChild<QPlainTextEdit*>("Memo1")->clear();
}
BENCHMARK(BM_GlidtavlaWindowSampleWithWordColumn);

void BM_BareWindowSample(benchmark::State& bench) {
    QWidget window;
    auto* image = new BareImage;
    image->setParent(&window);
    image->setGeometry(0, 0, 350, 280);
    image->setMouseTracking(true);
    window.show();
    SendMoves(bench, image);
}
BENCHMARK(BM_BareWindowSample);

}  // namespace
}  // namespace glidtavla

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
