#include "app/first_start.h"

#include <QDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStackedWidget>
#include <QVBoxLayout>

#include "app/pointer/pointer_aids.h"
#include "app/predict/word_prediction.h"
#include "base/files.h"

namespace glidtavla {

FirstStartSetup SetupFor(const FirstStartAnswers& answers) {
    FirstStartSetup setup;
    setup.Pointer = answers.Pointer;
    setup.Column = answers.Pointer == 2;  // a slow pointer gains from every word it need not write
    setup.DwellPress = !answers.Button;
    constexpr int kRestMs[] = {1000, 1500, 2000};
    constexpr int kGuards[] = {0, 8, 12};
    const int tremor = std::clamp(answers.Tremor, 0, 2);
    setup.DwellMs = kRestMs[tremor];
    setup.GuardPixels = kGuards[tremor];
    // Large cells for a hand that trembles much; a shift cell for one that cannot hold a button.
    if (tremor == 2) {
        setup.Board = "stora-rutor-5x5.tab";
    } else if (!answers.Button) {
        setup.Board = "svenska-7x7-skift.tab";
    }
    return setup;
}

std::optional<FirstStartAnswers> AskFirstStart(QWidget* parent) {
    QDialog dialog(parent);
    dialog.setObjectName("ForstaStart");
    dialog.setWindowTitle("Glidtavla: ställ in efter dig");
    auto* pages = new QStackedWidget(&dialog);
    (new QVBoxLayout(&dialog))->addWidget(pages);
    FirstStartAnswers answers;
    struct Question {
        const char* Text;
        std::vector<const char*> Answers;
        std::function<void(int)> Chosen;
    };
    const Question questions[] = {
        {"Vilket pekdon?", {"Mus", "Styrkula", "Huvudmus"}, [&](int i) { answers.Pointer = i; }},
        {"Kan du trycka på en knapp?", {"Ja", "Nej"}, [&](int i) { answers.Button = i == 0; }},
        {"Darrar handen eller huvudet?",
         {"Nej", "Lite", "Mycket"},
         [&](int i) { answers.Tremor = i; }},
    };
    const int count = static_cast<int>(std::size(questions));
    for (int q = 0; q < count; ++q) {
        auto* page = new QWidget(pages);
        auto* layout = new QVBoxLayout(page);
        auto* text = new QLabel(questions[q].Text, page);
        text->setStyleSheet("font-size: 18pt; font-weight: bold;");
        layout->addWidget(text);
        auto* row = new QHBoxLayout;
        layout->addLayout(row);
        for (int a = 0; a < static_cast<int>(questions[q].Answers.size()); ++a) {
            auto* answer = new QPushButton(questions[q].Answers[a], page);
            answer->setObjectName(QString("Svar%1_%2").arg(q).arg(a));
            answer->setMinimumSize(180, 90);
            answer->setStyleSheet("font-size: 18pt;");
            answer->setFocusPolicy(Qt::NoFocus);
            row->addWidget(answer);
            QObject::connect(answer, &QPushButton::clicked, &dialog,
                             [&, chosen = questions[q].Chosen, q, a] {
                                 chosen(a);
                                 if (q + 1 < count) {
                                     pages->setCurrentIndex(q + 1);
                                 } else {
                                     dialog.accept();
                                 }
                             });
        }
        pages->addWidget(page);
    }
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return answers;
}

bool SetUpByAsking(QWidget* parent, WordPrediction& prediction, PointerAids& aids,
                   const std::function<void(const std::string& table)>& useBoard) {
    const std::optional<FirstStartAnswers> answers = AskFirstStart(parent);
    if (!answers) return false;
    const FirstStartSetup setup = SetupFor(*answers);
    PredictionSettings predicting = prediction.Current();
    predicting.Pointer = setup.Pointer;
    predicting.Column = setup.Column;
    prediction.Use(predicting);
    PointerAidSettings pointing = aids.Current();
    pointing.DwellPress = setup.DwellPress;
    pointing.DwellMs = setup.DwellMs;
    pointing.GuardPixels = setup.GuardPixels;
    if (setup.DwellPress) pointing.LargeChooser = true;
    aids.Use(pointing);
    if (!setup.Board.empty()) useBoard(InstalledDataPath("boards") + "/" + setup.Board);
    return true;
}

}  // namespace glidtavla
