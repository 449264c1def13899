// Glidtavla: writing with the mouse alone.
#include <QApplication>
#include <QIcon>
#include <QTimer>

#include <algorithm>
#include <csignal>
#include <cstdio>

#include "app/command_line.h"
#include "app/pace/my_pace.h"
#include "app/pointer/pointer_aids.h"
#include "app/predict/word_prediction.h"
#include "app/settings/settings_store.h"
#include "app/tform1.h"
#include "app/typing/typing_mode.h"

int main(int argc, char** argv) {
    // Past the file size the system allows, a write fails ("Disk full") instead of ending the
    // program with every unsaved change.
    std::signal(SIGXFSZ, SIG_IGN);
    // Qt removes the arguments it takes for its own options: read ours before it does.
    const std::vector<std::string> arguments(argv + (argc > 0 ? 1 : 0), argv + argc);
    const glidtavla::CommandLine line = glidtavla::ParseCommandLine(arguments);
    if (line.Help || line.Version) {
        std::fputs((line.Help ? glidtavla::UsageText() : glidtavla::VersionText()).c_str(), stdout);
        return 0;
    }
    if (!line.Error.empty()) {
        std::fprintf(stderr, "%s\n%s", line.Error.c_str(), glidtavla::UsageText().c_str());
        return 2;
    }
    // On a Wayland desktop the window goes through Xwayland: there, while it types into other
    // programs, the compositor never gives it the focus (see TypingMode).
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") &&
        !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") &&
        !qEnvironmentVariableIsEmpty("DISPLAY")) {
        qputenv("QT_QPA_PLATFORM", "xcb");
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName("Glidtavla");
    QApplication::setDesktopFileName("glidtavla");
    glidtavla::InstallSwedishTranslation(app);
    glidtavla::TForm1 form(line.Document);
    form.Prediction().UseFile(glidtavla::WordPrediction::DefaultFile());
    form.Pace().UseFile(glidtavla::MyPace::DefaultFile());
    form.UseSettings(std::make_unique<glidtavla::SettingsStore>());
    if (line.NoPredict) form.Prediction().OffForThisRun();
    // On before the window is shown, so it never takes the focus from the program written into.
    if (line.SendKeys) form.Typing().SetOn(true);
    if (line.Zoom != 0) form.SetZoom(line.Zoom);
    if (line.RestMs != 0) form.Aids().TurnOnResting(std::max(line.RestMs, 0));
    form.show();
    // Reading the icon's bitmaps first looks through all of Qt's image plugins: that waits
    // until the window is on the screen. Bitmaps, as an SVG icon would load the SVG renderer.
    QTimer::singleShot(200, &form, [] {
        QIcon icon;
        for (const int size : {32, 48, 128})
            icon.addFile(QString(":/glidtavla-%1.png").arg(size), QSize(size, size));
        QApplication::setWindowIcon(icon);
    });
    if (line.Start) form.Guarded([&form] { form.Button1Click(); });
    // Not while it writes into another program: the questions would take the focus.
    if (!line.SendKeys) {
        QTimer::singleShot(0, &form,
                           [&form] { form.Guarded([&form] { form.AskFirstStartIfDue(); }); });
    }
    return app.exec();
}
