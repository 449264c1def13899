#include "app/command_line.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

#include <algorithm>
#include <string_view>

namespace glidtavla {

namespace {

// A whole percent from 100 to 400, or 0.
int ZoomPercent(const std::string& text) {
    if (text.empty() || text.size() > 3 ||
        !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        return 0;
    }
    const int percent = std::stoi(text);
    return percent >= 100 && percent <= 400 ? percent : 0;
}

}  // namespace

CommandLine ParseCommandLine(const std::vector<std::string>& arguments) {
    CommandLine line;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (!optionsEnded && (argument == "--zoom" || argument.rfind("--zoom=", 0) == 0)) {
            std::string value;
            if (argument != "--zoom") {
                value = argument.substr(7);
            } else if (i + 1 < arguments.size()) {
                value = arguments[++i];
            }
            line.Zoom = ZoomPercent(value);
            if (line.Zoom == 0) {
                line.Error = "glidtavla: --zoom tar en hel procentsats från 100 till 400, inte \"" +
                             value + "\"";
            }
        } else if (!optionsEnded && argument == "--") {
            optionsEnded = true;
        } else if (!optionsEnded && (argument == "--help" || argument == "-h")) {
            line.Help = true;
        } else if (!optionsEnded && (argument == "--version" || argument == "-v")) {
            line.Version = true;
        } else if (!optionsEnded && argument == "--send-keys") {
            line.SendKeys = true;
        } else if (!optionsEnded && argument == "--start") {
            line.Start = true;
        } else if (!optionsEnded && argument == "--no-predict") {
            line.NoPredict = true;
        } else if (!optionsEnded && argument.size() > 1 && argument[0] == '-') {
            line.Error = "glidtavla: okänd flagga \"" + argument +
                         "\" (ett dokument vars namn börjar med - skrivs efter --)";
        } else if (line.Document.empty() && !argument.empty()) {
            line.Document = argument;
        } else {
            line.Error = "glidtavla: högst ett dokument (" + argument + ")";
        }
    }
    return line;
}

std::string UsageText() {
    return "Användning: glidtavla [flaggor] [--] [dokument]\n"
           "Skriv text med musen. Dokumentet öppnas i textfältet.\n\n"
           "  --send-keys  starta med Skriv i andra program påslaget: det som skrivs\n"
           "               skickas som tangenttryck till programmet som har fokus (X11)\n"
           "  --zoom PROCENT  visa teckenbordet förstorat, 100 till 400 procent\n"
           "  --no-predict utan ordförslag den här gången (inställningen ändras inte)\n"
           "  --start      visa teckenbordet direkt, utan att START behöver tryckas\n"
           "  -h, --help   visa den här hjälpen\n"
           "  -v, --version  visa programmets version\n"
           "  --           det som följer är dokumentet, även om det börjar med -\n";
}

std::string VersionText() {
    return "glidtavla 1.01\n";
}

namespace {

// Debian's Swedish catalogue was made for older Qt: some texts now live under other contexts.
// This asks the catalogue under the old name where the new one finds nothing.
class RenamedContexts : public QTranslator {
  public:
    explicit RenamedContexts(QTranslator* catalogue, QObject* parent)
        : QTranslator(parent), catalogue_(catalogue) {}
    bool isEmpty() const override { return false; }
    QString translate(const char* context, const char* source, const char* disambiguation,
                      int n) const override {
        const std::string_view name(context != nullptr ? context : "");
        if (name == "QFileDialog" && std::string_view(source) == "Look in:") return "Leta i:";
        const char* old = name == "QPlatformTheme"       ? "QDialogButtonBox"
                          : name == "QWidgetTextControl" ? "QTextControl"
                                                         : nullptr;
        return old != nullptr ? catalogue_->translate(old, source, disambiguation, n) : QString();
    }

  private:
    QTranslator* catalogue_;
};

}  // namespace

bool InstallSwedishTranslation(QCoreApplication& app) {
    auto* catalogue = new QTranslator(&app);
    if (!catalogue->load(QLocale(QLocale::Swedish, QLocale::Sweden), "qt", "_",
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete catalogue;
        return false;
    }
    QCoreApplication::installTranslator(new RenamedContexts(catalogue, &app));
    return QCoreApplication::installTranslator(catalogue);
}

}  // namespace glidtavla
