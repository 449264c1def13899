#include "app/form/file_chooser.h"

#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTimer>
#include <QVBoxLayout>

#include "base/files.h"

namespace glidtavla {

namespace {

QPushButton* LargeButton(const QString& text, QWidget* parent) {
    auto* button = new QPushButton(text, parent);
    button->setMinimumHeight(56);
    button->setStyleSheet("QPushButton { font-size: 15pt; text-align: left; padding: 8px 16px; }");
    button->setFocusPolicy(Qt::NoFocus);  // a rest presses it, never a stray key
    return button;
}

}  // namespace

FileChooser::FileChooser(QWidget* parent, Spec spec) : QDialog(parent), spec_(std::move(spec)) {
    setObjectName("Filvaljare");
    setWindowTitle(spec_.Title);
    auto* layout = new QVBoxLayout(this);
    auto* title = new QLabel(spec_.Title, this);
    title->setStyleSheet("font-size: 16pt; font-weight: bold;");
    layout->addWidget(title);
    auto* up = LargeButton("▲ Bläddra uppåt", this);
    up->setObjectName("BladdraUpp");
    layout->addWidget(up);
    scroll_ = new QScrollArea(this);
    scroll_->setWidgetResizable(true);
    scroll_->setMinimumSize(560, 340);
    layout->addWidget(scroll_, 1);
    auto* down = LargeButton("▼ Bläddra nedåt", this);
    down->setObjectName("BladdraNer");
    layout->addWidget(down);
    auto* cancel = LargeButton("Avbryt", this);
    cancel->setObjectName("AvbrytVal");
    layout->addWidget(cancel);
    connect(up, &QPushButton::clicked, this, [this] { Scroll(-1); });
    connect(down, &QPushButton::clicked, this, [this] { Scroll(1); });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    const QFileInfo preset(spec_.Preset);
    QDir folder = preset.isDir() ? QDir(spec_.Preset) : preset.absoluteDir();
    if (spec_.Preset.isEmpty() || !folder.exists()) folder = QDir::home();
    Show(folder);
}

void FileChooser::Show(const QDir& folder) {
    if (rows_ != nullptr) rows_->deleteLater();
    rows_ = new QWidget;
    rowsLayout_ = new QVBoxLayout(rows_);
    int index = 0;
    const auto row = [&](const QString& text, std::function<void()> pressed) {
        AddRow(QString("Rad%1").arg(index++), text, std::move(pressed));
    };
    const QString here = folder.absolutePath();
    if (!std::exchange(opened_, true)) {
        for (const QString& path : spec_.Recent) {
            const QFileInfo file(path);
            if (!file.isFile() || !QDir::match(spec_.Patterns, file.fileName())) continue;
            // The folder's own name: a whole path would make the row wider than the chooser.
            row(file.fileName() + " (senast, i " + file.absoluteDir().dirName() + ")",
                [this, path = file.absoluteFilePath()] { Choose(path); });
        }
    }
    if (spec_.Save) {
        // The name it has (saved over it), and a free one beside it or in this folder.
        const bool named = !spec_.Preset.isEmpty() && !QFileInfo(spec_.Preset).isDir() &&
                           QFileInfo(spec_.Preset).absolutePath() == here;
        const QString wanted =
            named ? QFileInfo(spec_.Preset).absoluteFilePath() : here + "/namnlos" + spec_.Suffix;
        if (named)
            row("Spara som " + QFileInfo(wanted).fileName(), [this, wanted] { Choose(wanted); });
        const QString free =
            QFileInfo::exists(wanted)
                ? QFile::decodeName(FreeNameBeside(QFile::encodeName(wanted).toStdString()).c_str())
                : wanted;
        if (free != wanted || !named)
            row("Spara som " + QFileInfo(free).fileName(), [this, free] { Choose(free); });
        QString line = spec_.LineName.trimmed();
        if (!line.isEmpty() && !line.contains('/')) {
            if (QFileInfo(line).suffix().isEmpty()) line += spec_.Suffix;
            row("Spara som " + line + " (namnet från teckenraden)",
                [this, path = here + "/" + line] { Choose(path); });
        }
    }
    if (QDir parent = folder; parent.cdUp())
        row("⬆ Upp till " + parent.absolutePath(), [this, parent] { Show(parent); });
    if (!spec_.ReadyFolder.isEmpty() && QDir(spec_.ReadyFolder).absolutePath() != here)
        row("▶ Färdiga teckenbord", [this] { Show(QDir(spec_.ReadyFolder)); });
    for (const QFileInfo& sub :
         folder.entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase)) {
        row("▶ " + sub.fileName(), [this, path = sub.absoluteFilePath()] { Show(QDir(path)); });
    }
    for (const QFileInfo& file :
         folder.entryInfoList(spec_.Patterns, QDir::Files, QDir::Name | QDir::IgnoreCase)) {
        row(file.fileName(), [this, path = file.absoluteFilePath()] { Choose(path); });
    }
    rowsLayout_->addStretch(1);
    scroll_->setWidget(rows_);
}

void FileChooser::AddRow(const QString& name, const QString& text, std::function<void()> pressed) {
    QPushButton* button = LargeButton(text, rows_);
    button->setObjectName(name);
    // After the press has returned: a row that shows another folder deletes this one.
    connect(button, &QPushButton::clicked, this,
            [this, pressed = std::move(pressed)] { QTimer::singleShot(0, this, pressed); });
    rowsLayout_->addWidget(button);
}

void FileChooser::Choose(const QString& path) {
    chosen_ = path;
    accept();
}

void FileChooser::Scroll(int pages) {
    QScrollBar* bar = scroll_->verticalScrollBar();
    bar->setValue(bar->value() + pages * bar->pageStep());
}

QStringList FileChooser::Rows() const {
    QStringList texts;
    for (const QPushButton* button : rows_->findChildren<QPushButton*>())
        texts << button->text();
    return texts;
}

}  // namespace glidtavla
