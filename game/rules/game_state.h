// The window's game record and the plain model of the controls the rules read and write.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace pelmora::game {

// Counters are 64-bit so that they keep counting far past any game's length.
struct GameState {
    std::int64_t ProblemNumber = 0;
    std::int64_t CorrectCount = 0;
    std::int64_t IncorrectCount = 0;
    std::int64_t Score = 0;
    // Readings of the monotonic clock, in seconds.
    double GameStart = 0;
    double ProblemStart = 0;
    int Running = 0;
    std::u16string ExampleAnswer;
};

enum class TextColour { WindowText, Red };

enum class FocusTarget { Command4, Text3 };

// Captions, texts and states of the controls, as the rules see them. Control arrays keep
// their indexes; digit captions are the texts "1" to "9".
struct Controls {
    std::u16string caption;
    std::array<std::u16string, 7> Label4;
    std::array<std::u16string, 4> Label1{u"9", u"9", u"9", u"9"};
    std::u16string Label6;
    std::u16string Text1;
    std::u16string Text2;
    std::array<std::vector<std::u16string>, 3> Combo1Items;
    std::array<std::u16string, 3> Combo1;
    // The digit whose picture each Image2 shows.
    std::array<int, 4> Image2{0, 0, 0, 0};
    bool Command2Enabled = true;
    bool Command3Enabled = true;
    bool Command4Enabled = true;
    bool Command5Enabled = true;
    bool Command6Enabled = true;
    TextColour Label4ForeColour4 = TextColour::WindowText;
    // Set by a handler that moves the focus; the window applies and clears it.
    std::optional<FocusTarget> focusRequest;
};

}  // namespace pelmora::game
