// Types a text the way "Skriv i andra program" does, through a chosen route: each code is a
// fetch on the character line ("\n" LF, "\b" BS, "\x01" DL), and its keys are what the window
// would send. Prints, for each fetch that typed something, the nanoseconds since the epoch when
// its keys were sent, waiting PACE milliseconds between fetches as a writer would.
// With "route", prints the route the window would choose here instead.
// Usage: route_probe virtual-keyboard|portal|xtest|route TEXT [PACE] [TOKEN-FILE]
#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

#include <chrono>
#include <fstream>
#include <iostream>
#include <string>

#include "board/character_board.h"
#include "text/codec.h"
#include "typing/typed_text.h"
#include "typing/typing_route.h"

using namespace glidtavla;

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc < 3) return 2;
    const std::string route = argv[1];
    const std::string text = FromQString(QString::fromUtf8(argv[2]));
    const int pace = argc > 3 ? std::stoi(argv[3]) : 0;
    const std::string tokenFile = argc > 4 ? argv[4] : "";
    if (route == "route") {
        const TypingRoute way = ChooseTypingRoute("xcb").Route;
        std::cout << (way == TypingRoute::Portal            ? "portal"
                      : way == TypingRoute::VirtualKeyboard ? "virtual-keyboard"
                      : way == TypingRoute::XTest           ? "xtest"
                                                            : "none")
                  << '\n';
        return 0;
    }
    try {
        std::string token;
        if (!tokenFile.empty()) std::getline(std::ifstream(tokenFile), token);
        const auto keep = [&](const std::string& kept) {
            if (!tokenFile.empty()) std::ofstream(tokenFile) << kept << '\n';
        };
        const TypingRoute way = route == "portal"  ? TypingRoute::Portal
                                : route == "xtest" ? TypingRoute::XTest
                                                   : TypingRoute::VirtualKeyboard;
        auto sender = OpenRouteSender(
            {way, ""}, [] { return 0UL; }, token, keep);
        TypedText typed;
        std::size_t length = 0;
        for (const char c : text) {
            QEventLoop pause;  // the events go on meanwhile, as in the window
            QTimer::singleShot(pace, &pause, &QEventLoop::quit);
            pause.exec();
            const auto code = static_cast<uint8_t>(c == '\n'   ? kCodeLineFeed
                                                   : c == '\b' ? kCodeBackspace
                                                               : c);
            const std::size_t before = length;
            length = code == kCodeLineFeed || code == kCodeDeleteLine ? 0
                     : code == kCodeBackspace ? (length > 0 ? length - 1 : 0)
                                              : length + 1;
            const auto actions = typed.Fetch(code, before, length);
            const auto now = std::chrono::system_clock::now().time_since_epoch();
            for (const KeyAction& action : actions)
                sender->Send(action);
            if (actions.empty()) continue;
            std::cout << std::chrono::duration_cast<std::chrono::nanoseconds>(now).count() << '\n';
        }
    } catch (const std::exception& error) {
        std::cerr << error.what() << '\n';
        return 1;
    }
    return 0;
}
