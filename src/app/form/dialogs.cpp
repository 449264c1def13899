#include "app/form/dialogs.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>

#include "app/form/file_chooser.h"
#include "app/form/second_rest.h"
#include "base/files.h"
#include "pictures/picture_file.h"

namespace glidtavla {

namespace {

struct DialogSpec {
    QFileDialog::AcceptMode Mode;
    const char* Filter;
    const char* DefaultSuffix;
    const char* Title = "";  // of the program's own chooser
};

DialogSpec SpecOf(DialogKind kind) {
    switch (kind) {
        case DialogKind::OpenDialog1:
            return {QFileDialog::AcceptOpen,
                    "Glidtavlafiler   .gtv|*.gtv|Textfiler  .txt|*.txt|Alla filer  |*.*", "",
                    "Öppna"};
        case DialogKind::SaveDialog1:
            return {QFileDialog::AcceptSave,
                    "Glidtavlasfiler  .gtv|*.gtv|Textfiler  .txt|*.txt|Alla filer |*.*", "gtv",
                    "Spara som"};
        case DialogKind::OpenDialog2:
            return {QFileDialog::AcceptOpen, "Demofiler (.dem)|*.dem|Alla filer|*.*", "",
                    "Kör demo"};
        case DialogKind::SaveDialog2:
            return {QFileDialog::AcceptSave, "Demofiler|*.dem|Alla filer|*.*", ".dem", "Gör demo"};
        case DialogKind::OpenDialog3:
            return {QFileDialog::AcceptOpen, ".tab-filer|*.tab|Alla filer|*.*", "",
                    "Hämta teckenbord utan bild"};
        case DialogKind::OpenPictureDialog1:
            return {QFileDialog::AcceptOpen,
                    "All (*.bmp;*.ico;*.emf;*.wmf;*.png;*.jpg;*.jpeg;*.svg)|"
                    "*.bmp;*.ico;*.emf;*.wmf;*.png;*.jpg;*.jpeg;*.svg|Bitmaps (*.bmp)|*.bmp|"
                    "Icons (*.ico)|*.ico|Enhanced Metafiles (*.emf)|*.emf|Metafiles (*.wmf)|*.wmf|"
                    "PNG (*.png)|*.png|JPEG (*.jpg;*.jpeg)|*.jpg;*.jpeg|SVG (*.svg)|*.svg",
                    "", "Hämta teckenbord med bild"};
    }
    return {QFileDialog::AcceptOpen, "Alla filer|*.*", ""};
}

// A preview of the picture under the cursor, beside the file list.
void AddPreview(QFileDialog& dialog) {
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    auto* grid = qobject_cast<QGridLayout*>(dialog.layout());
    if (grid == nullptr) return;
    auto* preview = new QLabel(&dialog);
    preview->setObjectName("preview");
    preview->setFixedSize(200, 200);
    preview->setAlignment(Qt::AlignCenter);
    preview->setFrameShape(QFrame::StyledPanel);
    grid->addWidget(preview, 1, grid->columnCount(), 1, 1);
    QObject::connect(
        &dialog, &QFileDialog::currentChanged, preview, [preview](const QString& path) {
            QImage image;
            try {
                if (QFileInfo(path).isFile())
                    image = LoadPictureFile(QFile::encodeName(path).toStdString());
            } catch (const std::exception&) {
                // No preview for a picture that cannot be read; choosing it shows why.
            }
            preview->setPixmap(image.isNull() ? QPixmap()
                                              : QPixmap::fromImage(image.scaled(
                                                    preview->size(), Qt::KeepAspectRatio)));
        });
}

}  // namespace

QStringList NameFilters(const QString& filter) {
    const QStringList parts = filter.split('|');
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString patterns = parts[i + 1];
        patterns.replace(';', ' ');
        // A description that names its patterns already loses them: the dialog shows the
        // patterns once, after the description.
        QString label = parts[i];
        const qsizetype open = label.lastIndexOf(" (*");
        if (open > 0 && label.endsWith(')')) label.truncate(open);
        filters << label + " (" + patterns + ")";
    }
    return filters;
}

namespace {

// The patterns of a filter's kinds, without "all files".
QStringList Patterns(const QString& filter) {
    const QStringList parts = filter.split('|');
    QStringList patterns;
    for (qsizetype i = 1; i < parts.size(); i += 2) {
        for (const QString& pattern : parts[i].split(';')) {
            if (pattern != "*.*" && !patterns.contains(pattern)) patterns << pattern;
        }
    }
    return patterns;
}

}  // namespace

std::optional<QString> QtDialogs::AskOwn(DialogKind kind, const QString& preset) {
    const DialogSpec spec = SpecOf(kind);
    const bool save = spec.Mode == QFileDialog::AcceptSave;
    const bool board = kind == DialogKind::OpenDialog3 || kind == DialogKind::OpenPictureDialog1;
    QString suffix = spec.DefaultSuffix;
    if (!suffix.isEmpty() && !suffix.startsWith('.')) suffix.prepend('.');
    FileChooser chooser(
        parent_, {spec.Title, Patterns(spec.Filter), save, preset,
                  board ? QFile::decodeName(InstalledDataPath("boards").c_str()) : "",
                  save && own_.Line ? own_.Line() : "", suffix,
                  kind == DialogKind::OpenDialog1 && own_.Recent ? own_.Recent() : QStringList()});
    chooser.exec();
    return chooser.Chosen();
}

std::optional<QString> QtDialogs::Ask(DialogKind kind, const QString& preset) {
    if (own_.On && own_.On()) return AskOwn(kind, preset);
    const DialogSpec spec = SpecOf(kind);
    QFileDialog dialog(parent_);
    dialog.setAcceptMode(spec.Mode);
    // A typed name of a file that does not exist is accepted; the commands decide what it means.
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    dialog.setNameFilters(NameFilters(spec.Filter));
    dialog.setDefaultSuffix(spec.DefaultSuffix);
    if (!preset.isEmpty()) dialog.selectFile(preset);
    if (kind == DialogKind::OpenPictureDialog1) {
        AddPreview(dialog);
        dialog.resize(980, 560);  // the filter, the file columns and the preview side by side
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().first();
}

void QtDialogs::ShowError(const QString& message) {
    QMessageBox::critical(parent_, "Glidtavla", message);
}

SaveChoice QtDialogs::AskToSave(const QString& documentName) {
    QMessageBox box(QMessageBox::Question, "Glidtavla",
                    QString("Spara ändringarna i %1?").arg(documentName), QMessageBox::NoButton,
                    parent_);
    QPushButton* save = box.addButton("Spara", QMessageBox::AcceptRole);
    QPushButton* discard = box.addButton("Spara inte", QMessageBox::DestructiveRole);
    AskSecondRest(discard, "släng ändringarna");
    QPushButton* cancel = box.addButton("Avbryt", QMessageBox::RejectRole);
    box.setDefaultButton(save);
    box.setEscapeButton(cancel);
    box.exec();
    if (box.clickedButton() == save) return SaveChoice::Save;
    if (box.clickedButton() == discard) return SaveChoice::Discard;
    return SaveChoice::Cancel;
}

bool QtDialogs::Confirm(const QString& question) {
    QMessageBox box(QMessageBox::Question, "Glidtavla", question, QMessageBox::NoButton, parent_);
    QPushButton* yes = box.addButton("Ja", QMessageBox::AcceptRole);
    QPushButton* no = box.addButton("Nej", QMessageBox::RejectRole);
    AskSecondRest(yes, "jag är säker");
    box.setDefaultButton(no);
    box.setEscapeButton(no);
    box.exec();
    return box.clickedButton() == yes;
}

ReplaceChoice QtDialogs::AskToReplace(const QString& documentName, const QString& freeName) {
    QMessageBox box(QMessageBox::Warning, "Glidtavla",
                    QString("Det finns redan en fil som heter %1, och den har inte sparats från "
                            "det här fönstret. Vill du ersätta den?")
                        .arg(documentName),
                    QMessageBox::NoButton, parent_);
    QPushButton* beside = box.addButton("Spara som " + freeName, QMessageBox::AcceptRole);
    QPushButton* replace = box.addButton("Ersätt", QMessageBox::DestructiveRole);
    AskSecondRest(replace, "ersätt " + documentName);
    QPushButton* cancel = box.addButton("Avbryt", QMessageBox::RejectRole);
    box.setDefaultButton(beside);  // the choice that loses nothing
    box.setEscapeButton(cancel);
    box.exec();
    if (box.clickedButton() == replace) return ReplaceChoice::Replace;
    if (box.clickedButton() == beside) return ReplaceChoice::SaveBeside;
    return ReplaceChoice::Cancel;
}

}  // namespace glidtavla
