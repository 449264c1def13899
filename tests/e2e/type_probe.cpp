// Types the built-in board's characters, plain and shifted, through the same key actions and
// X11 sender as "Skriv i andra program", and prints what it typed (UTF-8) for the test to
// compare. Each line on standard input asks for one part: "1/2" types the first half and a
// Return, then "ok" on a line of its own; between parts the test may change the layout.
#include <QCoreApplication>

#include <iostream>
#include <string>

#include "board/character_board.h"
#include "board/shift.h"
#include "text/codec.h"
#include "typing/typed_text.h"
#include "typing/typing_route.h"

using namespace glidtavla;

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    CharacterBoard board;
    ResetToBuiltInBoard(board);
    std::string text;
    for (bool shifted : {false, true}) {
        for (int row = 1; row <= 7; ++row) {
            for (int column = 1; column <= 7; ++column) {
                uint8_t code = board.NormalCodes[column][row];
                if (shifted) code = ApplyShift(code, board.ShiftCodes[column][row]);
                if (code >= kCodeSpace) text += char(code);
            }
        }
    }
    try {
        auto sender = OpenRouteSender({TypingRoute::XTest, ""}, [] { return 0UL; }, "", {});
        std::string part;
        while (std::getline(std::cin, part)) {
            const int index = std::stoi(part.substr(0, part.find('/')));
            const int parts = std::stoi(part.substr(part.find('/') + 1));
            const std::size_t begin = text.size() * (index - 1) / parts;
            const std::size_t end = text.size() * index / parts;
            for (std::size_t i = begin; i < end; ++i) {
                if (const auto key = KeyForCharacter(uint8_t(text[i]))) sender->Send(*key);
            }
            sender->Send({KeyAction::Kind::Return, 0, 1});
            sender->Flush();  // the test changes the layout only after this part
            std::cout << ToQString(text.substr(begin, end - begin)).toStdString() << "\nok"
                      << std::endl;
        }
    } catch (const std::exception& error) {
        std::cerr << error.what() << '\n';
        return 1;
    }
    return 0;
}
