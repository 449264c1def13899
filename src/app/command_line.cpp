#include "app/command_line.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

#include <algorithm>
#include <cmath>
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

// Seconds from 0,3 to 10, with a decimal comma or point, as milliseconds; or 0.
int RestMilliseconds(std::string text) {
    std::replace(text.begin(), text.end(), ',', '.');
    const bool plain = !text.empty() && text.size() <= 4 &&
                       std::count(text.begin(), text.end(), '.') <= 1 && text.front() != '.' &&
                       text.back() != '.' && std::all_of(text.begin(), text.end(), [](char c) {
                           return (c >= '0' && c <= '9') || c == '.';
                       });
    if (!plain) return 0;
    const int ms = static_cast<int>(std::lround(std::stod(text) * 1000));
    return ms >= 300 && ms <= 10000 ? ms : 0;
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
        } else if (!optionsEnded && (argument == "--vila" || argument.rfind("--vila=", 0) == 0)) {
            // The time is optional: a following word that is no time is the document.
            const bool given = argument != "--vila";
            const std::string value = given                      ? argument.substr(7)
                                      : i + 1 < arguments.size() ? arguments[i + 1]
                                                                 : "";
            const int ms = RestMilliseconds(value);
            if (!given && ms != 0) ++i;
            line.RestMs = ms != 0 ? ms : -1;
            if (given && ms == 0) {
                line.Error = "glidtavla: --vila tar en vilotid från 0,3 till 10 sekunder, inte \"" +
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
           "  --vila [SEKUNDER]  tryck genom att vila: knappar, menyer och frågor trycks\n"
           "               när pekaren vilar på dem (0,3 till 10 sekunder; annars den\n"
           "               vilotid som sparats); det sparas till nästa gång\n"
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
